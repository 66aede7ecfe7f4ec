#include "UI/Observers/batchrunobserver.h"

#include "Core/Operations/selectvolumesoperation.h"
#include "UI/BatchRun/runprocessesdialog.h"
#include "UI/mainwindow.h"

namespace Ui {
namespace Observers {

BatchRunObserver::BatchRunObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void BatchRunObserver::update()
{
    const auto operation = currentOperation<Core::Operations::SelectVolumesOperation>();
    if (!operation)
        return;
    {
        RunProcessesDialog dialog(qobject_cast<MainWindow *>(mainWindow.data()),
                                  operation->getVolume(), workspace);
        dialog.exec();
    }
    for (const auto &object : workspace.getDocument().getObjects()) {
        const auto volume = boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
        if (!volume)
            continue;
        volume->clearBottomMask();
        volume->clearTopMask();
        volume->getPainter().refresh();
    }
    workspace.notifyUpdate();
}

} // namespace Observers
} // namespace Ui
