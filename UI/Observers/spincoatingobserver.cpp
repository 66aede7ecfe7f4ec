#include "UI/Observers/spincoatingobserver.h"

#include "Core/Operations/Planarization/spincoatingoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/spincoatingoptionsdialog.h"

namespace Ui {
namespace Observers {

SpinCoatingObserver::SpinCoatingObserver(Core::Operations::Workspace &workspace,
                                         QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void SpinCoatingObserver::update()
{
    const boost::shared_ptr<Core::Operations::SpinCoatingOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::SpinCoatingOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::SpinCoatingOptionsDialog dialog(mainWindow);
    dialog.setHeightLimit(operation->getVolume() ? int(operation->getVolume()->getCellsZ()) : 0);
    if (dialog.exec() != QDialog::Accepted) {
        operation->cancel();
        return;
    }
    operation->setMaterial(dialog.getMaterialId());
    operation->setHeight(dialog.getHeight());
    operation->end();
}

} // namespace Observers
} // namespace Ui
