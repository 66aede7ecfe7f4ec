#include "UI/Observers/sioxidationobserver.h"

#include "Core/Operations/SiOxidation/simplesioxidationoperation.h"
#include "UI/Operations/simpleoxidationoptionsdialog.h"

namespace Ui {
namespace Observers {

SiOxidationObserver::SiOxidationObserver(Core::Operations::Workspace &workspace,
                                         QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void SiOxidationObserver::update()
{
    const auto operation = currentOperation<Core::Operations::SimpleSiOxidationOperation>();
    if (!operation)
        return;
    Ui::Operations::SimpleOxidationOptionsDialog dialog(mainWindow);
    runDialog(*operation, dialog, [&] {
        operation->setConversion(dialog.getMicronConversion());
        if (dialog.isTimeGiven()) {
            operation->setTime(dialog.getOxidationTime());
            operation->setPressure(dialog.getOxidationPressure());
            operation->setTemperature(dialog.getOxidationTemperature());
        } else {
            operation->setThickness(dialog.getOxideThickness());
        }
    });
}

} // namespace Observers
} // namespace Ui
