#include "UI/Observers/ionimplantationoptionsobserver.h"

#include "Core/Operations/Doping/ionimplantationoperation.h"
#include "UI/Operations/ionimplantationoptionsdialog.h"

namespace Ui {
namespace Observers {

IonImplantationOptionsObserver::IonImplantationOptionsObserver(
    Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void IonImplantationOptionsObserver::update()
{
    const auto operation = currentOperation<Core::Operations::IonImplantationOperation>();
    if (!operation)
        return;
    Ui::Operations::IonImplantationOptionsDialog dialog(mainWindow);
    runDialog(*operation, dialog, [&] {
        operation->setAnnealingDistance(float(dialog.getAnnealingDistance()));
        operation->setImplantationDepth(float(dialog.getImplantationDepth()));
        operation->setMaterial(dialog.getMaterialId());
    });
}

} // namespace Observers
} // namespace Ui
