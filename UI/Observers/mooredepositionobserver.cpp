#include "UI/Observers/mooredepositionobserver.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhooddepositionoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/mooreoptionsdialog.h"

namespace Ui {
namespace Observers {

MooreDepositionObserver::MooreDepositionObserver(Core::Operations::Workspace &workspace,
                                                 QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void MooreDepositionObserver::update()
{
    const boost::shared_ptr<Core::Operations::MooreNeighborhoodDepositionOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::MooreNeighborhoodDepositionOperation>(
            workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::MooreOptionsDialog::ask(*operation, mainWindow,
                                            QStringLiteral("Film Thickness"));
}

} // namespace Observers
} // namespace Ui
