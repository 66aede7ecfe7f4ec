#include "UI/Observers/isotropicfilmetchingobserver.h"

#include "Core/Operations/Isotropic/isotropicfilmetchingoperation.h"
#include "Model/Automaton/volumemetrology.h"
#include "Model/Process/processfactory.h"
#include "UI/Operations/isotropicetchingdialog.h"

namespace Ui {
namespace Observers {

IsotropicFilmEtchingObserver::IsotropicFilmEtchingObserver(Core::Operations::Workspace &workspace,
                                                           QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void IsotropicFilmEtchingObserver::update()
{
    const auto operation = currentOperation<Core::Operations::IsotropicFilmEtchingOperation>();
    if (!operation)
        return;
    Ui::Operations::IsotropicEtchingDialog dialog(mainWindow);
    dialog.setProcess(Model::Process::ProcessFactory::instance()->getProcess(
        QStringLiteral("Isotropic Etching")));
    // The film on top is the one exposed to the etch; the list's first, silicon, would eat into
    // the wafer wherever nothing covers it.
    if (operation->getVolume())
        dialog.setMaterialId(
            Model::Automaton::VolumeMetrology(*operation->getVolume()).topMaterial());
    runDialog(*operation, dialog, [&] {
        operation->setDepth(float(dialog.getDepth()));
        operation->setMaterial(dialog.getMaterialId());
    });
}

} // namespace Observers
} // namespace Ui
