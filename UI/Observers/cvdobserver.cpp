#include "UI/Observers/cvdobserver.h"

#include "Core/Operations/Anisotropic/anisotropicfilmdepositionoperation.h"
#include "Model/Process/processfactory.h"
#include "UI/Operations/anisotropicdepositiondialog.h"

namespace Ui {
namespace Observers {

CVDObserver::CVDObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void CVDObserver::update()
{
    const auto operation = currentOperation<Core::Operations::AnisotropicFilmDepositionOperation>();
    if (!operation)
        return;
    Ui::Operations::AnisotropicDepositionDialog dialog(mainWindow);
    dialog.setProcess(
        Model::Process::ProcessFactory::instance()->getProcess(QStringLiteral("PVD")));
    runDialog(*operation, dialog, [&] {
        operation->setThickness(float(dialog.getThickness()));
        operation->setMaterial(dialog.getMaterialId());
        operation->setRatio(float(dialog.getRatio()));
        operation->setDepositOn(dialog.getDepositOn());
    });
}

} // namespace Observers
} // namespace Ui
