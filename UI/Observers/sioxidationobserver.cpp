#include "UI/Observers/sioxidationobserver.h"

#include "Core/Operations/SiOxidation/simplesioxidationoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/simpleoxidationoptionsdialog.h"

namespace Ui {
namespace Observers {

SiOxidationObserver::SiOxidationObserver(Core::Operations::Workspace &workspace,
                                         QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void SiOxidationObserver::update()
{
    const boost::shared_ptr<Core::Operations::SimpleSiOxidationOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::SimpleSiOxidationOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::SimpleOxidationOptionsDialog dialog(mainWindow);
    if (dialog.exec() != QDialog::Accepted) {
        // A waiting operation could not go on: a rejected dialog ends it, with its message.
        operation->cancel();
        return;
    }
    operation->setConversion(dialog.getMicronConversion());
    if (dialog.isTimeGiven()) {
        operation->setTime(dialog.getOxidationTime());
        operation->setPressure(dialog.getOxidationPressure());
        operation->setTemperature(dialog.getOxidationTemperature());
    } else {
        operation->setThickness(dialog.getOxideThickness());
    }
    operation->end();
}

} // namespace Observers
} // namespace Ui
