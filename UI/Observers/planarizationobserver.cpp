#include "UI/Observers/planarizationobserver.h"

#include "Core/Operations/Planarization/planarizationoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/planarizationoptionsdialog.h"

namespace Ui {
namespace Observers {

PlanarizationObserver::PlanarizationObserver(Core::Operations::Workspace &workspace,
                                             QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void PlanarizationObserver::update()
{
    const boost::shared_ptr<Core::Operations::PlanarizationOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::PlanarizationOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::PlanarizationOptionsDialog dialog(mainWindow);
    dialog.setHeightLimit(operation->getVolume() ? int(operation->getVolume()->getCellsZ()) : 0);
    if (dialog.exec() != QDialog::Accepted) {
        operation->cancel();
        return;
    }
    operation->setMaximumHeight(dialog.getMaximumHeight());
    operation->setMinimumHeight(dialog.getMinimumHeight());
    operation->end();
}

} // namespace Observers
} // namespace Ui
