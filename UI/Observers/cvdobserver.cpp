#include "UI/Observers/cvdobserver.h"

#include "Core/Operations/Anisotropic/anisotropicfilmdepositionoperation.h"
#include "Core/Operations/workspace.h"
#include "Model/Process/processfactory.h"
#include "UI/Operations/anisotropicdepositiondialog.h"

namespace Ui {
namespace Observers {

CVDObserver::CVDObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void CVDObserver::update()
{
    const boost::shared_ptr<Core::Operations::AnisotropicFilmDepositionOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::AnisotropicFilmDepositionOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::AnisotropicDepositionDialog dialog(mainWindow);
    dialog.setProcess(
        Model::Process::ProcessFactory::instance()->getProcess(QStringLiteral("PVD")));
    if (dialog.exec() != QDialog::Accepted) {
        // A waiting operation could not go on: a rejected dialog ends it, with its message.
        operation->cancel();
        return;
    }
    operation->setThickness(float(dialog.getThickness()));
    operation->setMaterial(dialog.getMaterialId());
    operation->setRatio(float(dialog.getRatio()));
    operation->setDepositOn(dialog.getDepositOn());
    operation->end();
}

} // namespace Observers
} // namespace Ui
