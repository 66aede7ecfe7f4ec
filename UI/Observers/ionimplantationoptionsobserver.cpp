#include "UI/Observers/ionimplantationoptionsobserver.h"

#include "Core/Operations/Doping/ionimplantationoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/ionimplantationoptionsdialog.h"

namespace Ui {
namespace Observers {

IonImplantationOptionsObserver::IonImplantationOptionsObserver(
    Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void IonImplantationOptionsObserver::update()
{
    const boost::shared_ptr<Core::Operations::IonImplantationOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::IonImplantationOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::IonImplantationOptionsDialog dialog(mainWindow);
    if (dialog.exec() != QDialog::Accepted) {
        // A waiting operation could not go on: a rejected dialog ends it, with its message.
        operation->cancel();
        return;
    }
    operation->setAnnealingDistance(float(dialog.getAnnealingDistance()));
    operation->setImplantationDepth(float(dialog.getImplantationDepth()));
    operation->setMaterial(dialog.getMaterialId());
    operation->end();
}

} // namespace Observers
} // namespace Ui
