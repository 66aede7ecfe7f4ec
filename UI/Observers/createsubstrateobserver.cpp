#include "UI/Observers/createsubstrateobserver.h"

#include "Core/Operations/createsubstrateoperation.h"
#include "UI/Operations/createsubstratedialog.h"

#include <QMessageBox>

namespace Ui {
namespace Observers {

CreateSubstrateObserver::CreateSubstrateObserver(Core::Operations::Workspace &workspace,
                                                 QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void CreateSubstrateObserver::update()
{
    const auto operation = currentOperation<Core::Operations::CreateSubstrateOperation>();
    if (!operation)
        return;

    Ui::Operations::CreateSubstrateDialog dialog(mainWindow);
    if (dialog.exec() != QDialog::Accepted) {
        operation->cancel();
        return;
    }
    if (dialog.isSpherical())
        operation->setSphere(dialog.getMaterialId(), dialog.getCellsX(), dialog.getCellsY(),
                             dialog.getCellsZ(), dialog.getPosition(), dialog.getCenterX(),
                             dialog.getCenterY(), dialog.getCenterZ(), dialog.getRadius());
    else
        operation->setBox(dialog.getMaterialId(), dialog.getCellsX(), dialog.getCellsY(),
                          dialog.getCellsZ(), dialog.getPosition(), dialog.getOffsetX(),
                          dialog.getOffsetY(), dialog.getOffsetZ(), dialog.getWidth(),
                          dialog.getLength(), dialog.getHeight());
    operation->execute();
    if (!operation->getError().isEmpty())
        QMessageBox::warning(mainWindow, QStringLiteral("Create Substrate"), operation->getError());
}

} // namespace Observers
} // namespace Ui
