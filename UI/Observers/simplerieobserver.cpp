#include "UI/Observers/simplerieobserver.h"

#include "Core/Operations/ReactiveIonEtching/simplereactiveionetchingoperation.h"
#include "UI/Operations/simpleriedialog.h"

namespace Ui {
namespace Observers {

SimpleRIEObserver::SimpleRIEObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void SimpleRIEObserver::update()
{
    const auto operation = currentOperation<Core::Operations::SimpleReactiveIonEtchingOperation>();
    if (!operation)
        return;
    Ui::Operations::SimpleRIEDialog dialog(mainWindow);
    runDialog(*operation, dialog, [&] {
        operation->setDepth(dialog.getDepth());
        operation->setMaterial(dialog.getMaterialId());
        operation->setEtchFromBelow(dialog.etchFromBelow());
        operation->setEtchFromTop(dialog.etchFromTop());
    });
}

} // namespace Observers
} // namespace Ui
