#include "UI/Observers/electrodepositionobserver.h"

#include "Core/Operations/Electrodeposition/electrodepositionoperation.h"
#include "UI/Operations/electrodepositiondialog.h"

namespace Ui {
namespace Observers {

ElectrodepositionObserver::ElectrodepositionObserver(Core::Operations::Workspace &workspace,
                                                     QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void ElectrodepositionObserver::update()
{
    const auto operation = currentOperation<Core::Operations::ElectrodepositionOperation>();
    if (!operation)
        return;
    Ui::Operations::ElectrodepositionDialog dialog(mainWindow);
    runDialog(*operation, dialog, [&] {
        operation->setThickness(float(dialog.getThickness()));
        operation->setMaterial(dialog.getMaterialId());
        operation->setConductingMaterial(dialog.getConductingMaterialId());
    });
}

} // namespace Observers
} // namespace Ui
