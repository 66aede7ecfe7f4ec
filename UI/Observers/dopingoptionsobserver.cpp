#include "UI/Observers/dopingoptionsobserver.h"

#include "Core/Operations/Doping/dopingoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/dopingoptionsdialog.h"

namespace Ui {
namespace Observers {

DopingOptionsObserver::DopingOptionsObserver(Core::Operations::Workspace &workspace,
                                             QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void DopingOptionsObserver::update()
{
    const boost::shared_ptr<Core::Operations::DopingOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::DopingOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::DopingOptionsDialog dialog(mainWindow);
    if (dialog.exec() != QDialog::Accepted) {
        // A waiting operation could not go on: a rejected dialog ends it, with its message.
        operation->cancel();
        return;
    }
    operation->setDepth(float(dialog.getDepth()));
    operation->setMaterial(dialog.getMaterialId());
    operation->end();
}

} // namespace Observers
} // namespace Ui
