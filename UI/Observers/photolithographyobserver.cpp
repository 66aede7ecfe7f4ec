#include "UI/Observers/photolithographyobserver.h"

#include "Core/Operations/Photolithography/photolithographyoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/photolithographydialog.h"

namespace Ui {
namespace Observers {

PhotolithographyObserver::PhotolithographyObserver(Core::Operations::Workspace &workspace,
                                                   QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void PhotolithographyObserver::update()
{
    const boost::shared_ptr<Core::Operations::PhotolithographyOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::PhotolithographyOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::PhotolithographyDialog dialog(mainWindow);
    Core::Operations::PhotolithographyOperation *raw = operation.get();
    // Applied and removed masks show on the volume while the dialog is open.
    dialog.setTopMaskSink([raw](const std::vector<bool> &bits, quint32 w, quint32 h) {
        raw->setTopMask(bits, w, h);
    });
    dialog.setBottomMaskSink([raw](const std::vector<bool> &bits, quint32 w, quint32 h) {
        raw->setBottomMask(bits, w, h);
    });
    if (dialog.exec() != QDialog::Accepted) {
        operation->cancel(); // also takes the masks it showed off the volume
        return;
    }
    operation->setMaterial(dialog.getMaterialId());
    operation->setBottomMask(dialog.getBottomMask(), dialog.getBottomMaskWidth(),
                             dialog.getBottomMaskHeight());
    operation->setTopMask(dialog.getTopMask(), dialog.getTopMaskWidth(), dialog.getTopMaskHeight());
    operation->end();
}

} // namespace Observers
} // namespace Ui
