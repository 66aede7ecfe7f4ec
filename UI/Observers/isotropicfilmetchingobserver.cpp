#include "UI/Observers/isotropicfilmetchingobserver.h"

#include "Core/Operations/Isotropic/isotropicfilmetchingoperation.h"
#include "Core/Operations/workspace.h"
#include "Model/Process/processfactory.h"
#include "UI/Operations/isotropicetchingdialog.h"

namespace Ui {
namespace Observers {

IsotropicFilmEtchingObserver::IsotropicFilmEtchingObserver(Core::Operations::Workspace &workspace,
                                                           QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void IsotropicFilmEtchingObserver::update()
{
    const boost::shared_ptr<Core::Operations::IsotropicFilmEtchingOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::IsotropicFilmEtchingOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::IsotropicEtchingDialog dialog(mainWindow);
    dialog.setProcess(Model::Process::ProcessFactory::instance()->getProcess(
        QStringLiteral("Isotropic Etching")));
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
