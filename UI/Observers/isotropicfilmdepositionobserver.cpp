#include "UI/Observers/isotropicfilmdepositionobserver.h"

#include "Core/Operations/Isotropic/isotropicfilmdepositionoperation.h"
#include "Model/Process/processfactory.h"
#include "UI/Operations/isotropicdepositiondialog.h"

namespace Ui {
namespace Observers {

IsotropicFilmDepositionObserver::IsotropicFilmDepositionObserver(
    Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void IsotropicFilmDepositionObserver::update()
{
    const auto operation = currentOperation<Core::Operations::IsotropicFilmDepositionOperation>();
    if (!operation)
        return;
    Ui::Operations::IsotropicDepositionDialog dialog(mainWindow);
    dialog.setMaterials(Model::Process::ProcessFactory::instance()
                            ->getProcess(QStringLiteral("CVD"))
                            .resolveCompatibleMaterials());
    runDialog(*operation, dialog, [&] {
        operation->setThickness(float(dialog.getThickness()));
        operation->setMaterial(dialog.getMaterialId());
    });
}

} // namespace Observers
} // namespace Ui
