#include "UI/Observers/mooreetchingobserver.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetchingoperation.h"
#include "UI/Operations/mooreoptionsdialog.h"

namespace Ui {
namespace Observers {

MooreEtchingObserver::MooreEtchingObserver(Core::Operations::Workspace &workspace,
                                           QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void MooreEtchingObserver::update()
{
    const auto operation = currentOperation<Core::Operations::MooreNeighborhoodEtchingOperation>();
    if (!operation)
        return;
    Ui::Operations::MooreOptionsDialog::ask(*operation, mainWindow, QStringLiteral("Etch Depth"));
}

} // namespace Observers
} // namespace Ui
