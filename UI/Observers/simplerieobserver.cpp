#include "UI/Observers/simplerieobserver.h"

#include "Core/Operations/ReactiveIonEtching/simplereactiveionetchingoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/simpleriedialog.h"

namespace Ui {
namespace Observers {

SimpleRIEObserver::SimpleRIEObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void SimpleRIEObserver::update()
{
    const boost::shared_ptr<Core::Operations::SimpleReactiveIonEtchingOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::SimpleReactiveIonEtchingOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::SimpleRIEDialog dialog(mainWindow);
    if (dialog.exec() != QDialog::Accepted) {
        // A waiting operation could not go on: a rejected dialog ends it, with its message.
        operation->cancel();
        return;
    }
    operation->setDepth(dialog.getDepth());
    operation->setMaterial(dialog.getMaterialId());
    operation->setEtchFromBelow(dialog.etchFromBelow());
    operation->setEtchFromTop(dialog.etchFromTop());
    operation->end();
}

} // namespace Observers
} // namespace Ui
