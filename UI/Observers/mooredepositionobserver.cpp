#include "UI/Observers/mooredepositionobserver.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhooddepositionoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/materialcombo.h"
#include "UI/Operations/mooreoptionsdialog.h"

#include <QComboBox>

namespace Ui {
namespace Observers {

MooreDepositionObserver::MooreDepositionObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{
}

void MooreDepositionObserver::update()
{
    const boost::shared_ptr<Core::Operations::MooreNeighborhoodDepositionOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::MooreNeighborhoodDepositionOperation>(workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::MooreOptionsDialog dialog(mainWindow);
    Ui::Operations::MaterialCombo::fillWithCatalogue(dialog.findChild<QComboBox *>(QStringLiteral("cbxFilm")));
    dialog.setValueLabel(QStringLiteral("Film Thickness"));
    if (dialog.exec() != QDialog::Accepted) {
        operation->cancel();
        return;
    }
    operation->setMaterial(dialog.getMaterialId());
    operation->setSteps(dialog.getSteps());
    operation->end();
}

} // namespace Observers
} // namespace Ui
