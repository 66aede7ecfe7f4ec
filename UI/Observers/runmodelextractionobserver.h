#ifndef CELVANE_UI_OBSERVERS_RUNMODELEXTRACTIONOBSERVER_H
#define CELVANE_UI_OBSERVERS_RUNMODELEXTRACTIONOBSERVER_H

#include "Core/Operations/ModelExtraction/runmodelextraction.h"
#include "Util/iobserver.h"

#include <QPointer>
#include <boost/weak_ptr.hpp>

class QWidget;

namespace Ui {
namespace Operations {
class ExtractModelDialog;
}

namespace Observers {

/// Opens the model-extraction dialog beside the main window once the volume is taken, without
/// blocking, and closes it when the operation ends or is cancelled.
class RunModelExtractionObserver : public Util::IObserver
{
public:
    RunModelExtractionObserver(
        const boost::shared_ptr<Core::Operations::RunModelExtraction> &operation,
        QWidget *mainWindow);
    ~RunModelExtractionObserver() override;
    void update() override;

    Operations::ExtractModelDialog *getDialog() const;

private:
    boost::weak_ptr<Core::Operations::RunModelExtraction> operation;
    QWidget *mainWindow;
    QPointer<Operations::ExtractModelDialog> dialog;
    Util::ObserverPtr destroyObserver;
};

} // namespace Observers
} // namespace Ui

#endif
