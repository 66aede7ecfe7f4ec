#include "UI/Observers/destroymodelextractiondialogobserver.h"

namespace Ui {
namespace Observers {

DestroyModelExtractionDialogObserver::DestroyModelExtractionDialogObserver(
    const boost::shared_ptr<Core::Operations::RunModelExtraction> &operation)
    : operation(operation)
{}

void DestroyModelExtractionDialogObserver::update()
{
    if (const boost::shared_ptr<Core::Operations::RunModelExtraction> op = operation.lock())
        op->end();
}

} // namespace Observers
} // namespace Ui
