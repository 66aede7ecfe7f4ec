#include "UI/Observers/mooreetchingobserver.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetchingoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Operations/materialcombo.h"
#include "UI/Operations/mooreoptionsdialog.h"

#include <QComboBox>

namespace Ui {
namespace Observers {

MooreEtchingObserver::MooreEtchingObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{
}

void MooreEtchingObserver::update()
{
    const boost::shared_ptr<Core::Operations::MooreNeighborhoodEtchingOperation> operation =
        boost::dynamic_pointer_cast<Core::Operations::MooreNeighborhoodEtchingOperation>(workspace.getCurrentOperation());
    if (!operation)
        return;
    Ui::Operations::MooreOptionsDialog dialog(mainWindow);
    Ui::Operations::MaterialCombo::fillWithCatalogue(dialog.findChild<QComboBox *>(QStringLiteral("cbxFilm")));
    dialog.setValueLabel(QStringLiteral("Etch Depth"));
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
