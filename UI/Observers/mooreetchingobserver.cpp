#include "UI/Observers/mooreetchingobserver.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetchingoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/mooreoptionsdialog.h"

namespace Ui {
namespace Observers {

MooreEtchingObserver::MooreEtchingObserver(Core::Operations::Workspace &workspace,
                                           QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void MooreEtchingObserver::update()
{
    const boost::shared_ptr<Core::Operations::MooreNeighborhoodEtchingOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::MooreNeighborhoodEtchingOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::MooreOptionsDialog::ask(*operation, mainWindow, QStringLiteral("Etch Depth"));
}

} // namespace Observers
} // namespace Ui
