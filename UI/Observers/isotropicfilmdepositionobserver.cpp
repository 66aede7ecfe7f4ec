#include "UI/Observers/isotropicfilmdepositionobserver.h"

#include "Core/Operations/Isotropic/isotropicfilmdepositionoperation.h"
#include "Core/Operations/workspace.h"
#include "Model/Process/processfactory.h"
#include "UI/Operations/isotropicdepositiondialog.h"

namespace Ui {
namespace Observers {

IsotropicFilmDepositionObserver::IsotropicFilmDepositionObserver(
    Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void IsotropicFilmDepositionObserver::update()
{
    const boost::shared_ptr<Core::Operations::IsotropicFilmDepositionOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::IsotropicFilmDepositionOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::IsotropicDepositionDialog dialog(mainWindow);
    dialog.setMaterials(Model::Process::ProcessFactory::instance()
                            ->getProcess(QStringLiteral("CVD"))
                            .resolveCompatibleMaterials());
    if (dialog.exec() != QDialog::Accepted) {
        // A waiting operation could not go on: a rejected dialog ends it, with its message.
        operation->cancel();
        return;
    }
    operation->setThickness(float(dialog.getThickness()));
    operation->setMaterial(dialog.getMaterialId());
    operation->end();
}

} // namespace Observers
} // namespace Ui
