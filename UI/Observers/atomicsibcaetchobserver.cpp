#include "UI/Observers/atomicsibcaetchobserver.h"

#include "Core/Operations/SiEtching/wetetchoperation.h"
#include "UI/Operations/bcaetchingdialog.h"

namespace Ui {
namespace Observers {

AtomicSiBCAEtchObserver::AtomicSiBCAEtchObserver(Core::Operations::Workspace &workspace,
                                                 QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void AtomicSiBCAEtchObserver::update()
{
    const auto operation = currentOperation<Core::Operations::WetEtchOperation>();
    if (!operation)
        return;
    Ui::Operations::BCAEtchingDialog dialog(mainWindow);
    placeBesideView(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    operation->setDepth(dialog.getDepth());
    operation->end();
}

} // namespace Observers
} // namespace Ui
