#include "UI/Observers/spincoatingobserver.h"

#include "Core/Operations/Planarization/spincoatingoperation.h"
#include "UI/Operations/spincoatingoptionsdialog.h"

namespace Ui {
namespace Observers {

SpinCoatingObserver::SpinCoatingObserver(Core::Operations::Workspace &workspace,
                                         QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void SpinCoatingObserver::update()
{
    const auto operation = currentOperation<Core::Operations::SpinCoatingOperation>();
    if (!operation)
        return;
    Ui::Operations::SpinCoatingOptionsDialog dialog(mainWindow);
    dialog.setHeightLimit(operation->getVolume() ? int(operation->getVolume()->getCellsZ()) : 0);
    runDialog(*operation, dialog, [&] {
        operation->setMaterial(dialog.getMaterialId());
        operation->setHeight(dialog.getHeight());
    });
}

} // namespace Observers
} // namespace Ui
