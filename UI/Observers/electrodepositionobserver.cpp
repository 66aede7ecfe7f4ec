#include "UI/Observers/electrodepositionobserver.h"

#include "Core/Operations/Electrodeposition/electrodepositionoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/electrodepositiondialog.h"

namespace Ui {
namespace Observers {

ElectrodepositionObserver::ElectrodepositionObserver(Core::Operations::Workspace &workspace,
                                                     QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void ElectrodepositionObserver::update()
{
    const boost::shared_ptr<Core::Operations::ElectrodepositionOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::ElectrodepositionOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::ElectrodepositionDialog dialog(mainWindow);
    if (dialog.exec() != QDialog::Accepted) {
        // A waiting operation could not go on: a rejected dialog ends it, with its message.
        operation->cancel();
        return;
    }
    operation->setThickness(float(dialog.getThickness()));
    operation->setMaterial(dialog.getMaterialId());
    operation->setConductingMaterial(dialog.getConductingMaterialId());
    operation->end();
}

} // namespace Observers
} // namespace Ui
