#include "UI/Observers/dopingoptionsobserver.h"

#include "Core/Operations/Doping/dopingoperation.h"
#include "UI/Operations/dopingoptionsdialog.h"

namespace Ui {
namespace Observers {

DopingOptionsObserver::DopingOptionsObserver(Core::Operations::Workspace &workspace,
                                             QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void DopingOptionsObserver::update()
{
    const auto operation = currentOperation<Core::Operations::DopingOperation>();
    if (!operation)
        return;
    Ui::Operations::DopingOptionsDialog dialog(mainWindow);
    runDialog(*operation, dialog, [&] {
        operation->setDepth(float(dialog.getDepth()));
        operation->setMaterial(dialog.getMaterialId());
    });
}

} // namespace Observers
} // namespace Ui
