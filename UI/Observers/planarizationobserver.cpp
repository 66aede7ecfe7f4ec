#include "UI/Observers/planarizationobserver.h"

#include "Core/Operations/Planarization/planarizationoperation.h"
#include "UI/Operations/planarizationoptionsdialog.h"

namespace Ui {
namespace Observers {

PlanarizationObserver::PlanarizationObserver(Core::Operations::Workspace &workspace,
                                             QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void PlanarizationObserver::update()
{
    const auto operation = currentOperation<Core::Operations::PlanarizationOperation>();
    if (!operation)
        return;
    Ui::Operations::PlanarizationOptionsDialog dialog(mainWindow);
    dialog.setHeightLimit(operation->getVolume() ? int(operation->getVolume()->getCellsZ()) : 0);
    runDialog(*operation, dialog, [&] {
        operation->setMaximumHeight(dialog.getMaximumHeight());
        operation->setMinimumHeight(dialog.getMinimumHeight());
    });
}

} // namespace Observers
} // namespace Ui
