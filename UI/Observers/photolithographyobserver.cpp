#include "UI/Observers/photolithographyobserver.h"

#include "Core/Operations/Photolithography/photolithographyoperation.h"
#include "Model/Automaton/volumemetrology.h"
#include "UI/Operations/photolithographydialog.h"

namespace Ui {
namespace Observers {

PhotolithographyObserver::PhotolithographyObserver(Core::Operations::Workspace &workspace,
                                                   QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void PhotolithographyObserver::update()
{
    const auto operation = currentOperation<Core::Operations::PhotolithographyOperation>();
    if (!operation)
        return;
    Ui::Operations::PhotolithographyDialog dialog(mainWindow);
    if (operation->getVolume()) {
        dialog.setVolumeGrid(operation->getVolume()->getCellsX(),
                             operation->getVolume()->getCellsY());
        // The film on top is the one to pattern; the catalogue's first, silicon, would develop
        // the wafer itself wherever the mask is clear.
        dialog.setMaterialId(
            Model::Automaton::VolumeMetrology(*operation->getVolume()).topMaterial());
    }
    Core::Operations::PhotolithographyOperation *raw = operation.get();
    // Applied and removed masks show on the volume while the dialog is open.
    dialog.setTopMaskSink([raw](const std::vector<bool> &bits, quint32 w, quint32 h) {
        raw->setTopMask(bits, w, h);
    });
    dialog.setBottomMaskSink([raw](const std::vector<bool> &bits, quint32 w, quint32 h) {
        raw->setBottomMask(bits, w, h);
    });
    // Cancel also takes the masks the operation showed off the volume.
    runDialog(*operation, dialog, [&] {
        operation->setMaterial(dialog.getMaterialId());
        operation->setBottomMask(dialog.getBottomMask(), dialog.getBottomMaskWidth(),
                                 dialog.getBottomMaskHeight());
        operation->setTopMask(dialog.getTopMask(), dialog.getTopMaskWidth(),
                              dialog.getTopMaskHeight());
    });
}

} // namespace Observers
} // namespace Ui
