#include "UI/Observers/cutcellvolumeobserver.h"

#include "Core/Operations/cutcellvolumeoperation.h"
#include "UI/Operations/cutcellvolumedialog.h"

namespace Ui {
namespace Observers {

CutCellVolumeObserver::CutCellVolumeObserver(Core::Operations::Workspace &workspace,
                                             QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void CutCellVolumeObserver::update()
{
    const auto operation = currentOperation<Core::Operations::CutCellVolumeOperation>();
    if (!operation || !operation->getVolume())
        return;
    const Model::Automaton::TotalVolume::Ptr volume = operation->getVolume();
    const quint32 counts[3] = {volume->getCellsX(), volume->getCellsY(), volume->getCellsZ()};
    quint32 previousLower[3], previousUpper[3];
    volume->getPainter().getCutLimits(previousLower, previousUpper);

    Ui::Operations::CutCellVolumeDialog dialog(counts, previousLower, previousUpper, mainWindow);
    Core::Operations::CutCellVolumeOperation *op = operation.get();
    QObject::connect(&dialog, &Ui::Operations::CutCellVolumeDialog::previewRequested, &dialog,
                     [op, &dialog]() {
                         quint32 lower[3], upper[3];
                         dialog.getLimits(lower, upper);
                         op->applyLimits(lower, upper, true);
                     });
    placeBesideView(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        // A preview may have changed the picture: the previous limits are shown again.
        operation->applyLimits(previousLower, previousUpper, true);
        operation->cancel();
        return;
    }
    quint32 lower[3], upper[3];
    dialog.getLimits(lower, upper);
    operation->applyLimits(lower, upper, true);
    operation->end();
}

} // namespace Observers
} // namespace Ui
