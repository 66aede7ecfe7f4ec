#include "UI/Observers/mooredepositionobserver.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhooddepositionoperation.h"
#include "UI/Operations/mooreoptionsdialog.h"

namespace Ui {
namespace Observers {

MooreDepositionObserver::MooreDepositionObserver(Core::Operations::Workspace &workspace,
                                                 QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void MooreDepositionObserver::update()
{
    const auto operation =
        currentOperation<Core::Operations::MooreNeighborhoodDepositionOperation>();
    if (!operation)
        return;
    Ui::Operations::MooreOptionsDialog::ask(*operation, mainWindow,
                                            QStringLiteral("Film Thickness"));
}

} // namespace Observers
} // namespace Ui
