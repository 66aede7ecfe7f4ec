#include "UI/Observers/gluesubstrateobserver.h"

#include "Core/Operations/Glue/gluesubstrateoperation.h"
#include "UI/Operations/gluesubstratedialog.h"

#include <QMessageBox>

namespace Ui {
namespace Observers {

GlueSubstrateObserver::GlueSubstrateObserver(Core::Operations::Workspace &workspace,
                                             QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void GlueSubstrateObserver::update()
{
    const auto operation = currentOperation<Core::Operations::GlueSubstrateOperation>();
    if (!operation)
        return;
    const Core::Operations::GlueSubstrate::Extent extent = operation->getExtent();
    Ui::Operations::GlueSubstrateDialog dialog(mainWindow);
    dialog.setLimits(extent.minSizeX, extent.minSizeY, extent.minSizeZ, extent.maxDisplacementX,
                     extent.maxDisplacementY);
    runDialog(*operation, dialog, [&] {
        operation->setOptions(dialog.getSizeX(), dialog.getSizeY(), dialog.getSizeZ(),
                              dialog.getDisplacementX(), dialog.getDisplacementY(),
                              dialog.invertTop());
    });
    if (!operation->getError().isEmpty())
        QMessageBox::warning(mainWindow, QStringLiteral("Glue Volumes"), operation->getError());
}

} // namespace Observers
} // namespace Ui
