#ifndef CELVANE_UI_OBSERVERS_DESTROYMODELEXTRACTIONDIALOGOBSERVER_H
#define CELVANE_UI_OBSERVERS_DESTROYMODELEXTRACTIONDIALOGOBSERVER_H

#include "Core/Operations/ModelExtraction/runmodelextraction.h"
#include "Util/iobserver.h"

#include <boost/weak_ptr.hpp>

namespace Ui {
namespace Observers {

/// Ends the model extraction when its dialog is closed.
class DestroyModelExtractionDialogObserver : public Util::IObserver
{
public:
    explicit DestroyModelExtractionDialogObserver(
        const boost::shared_ptr<Core::Operations::RunModelExtraction> &operation);
    void update() override;

private:
    boost::weak_ptr<Core::Operations::RunModelExtraction> operation;
};

} // namespace Observers
} // namespace Ui

#endif
