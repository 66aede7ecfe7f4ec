#include "UI/Observers/optionsobserver.h"

#include <QWidget>

namespace Ui {
namespace Observers {

OptionsObserver::OptionsObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void OptionsObserver::placeBesideView(QWidget &dialog) const
{
    if (!mainWindow)
        return;
    dialog.adjustSize();
    const QRect window = mainWindow->frameGeometry();
    dialog.move(qMax(window.left(), window.right() - dialog.frameGeometry().width() - 20),
                window.top() + 60);
}

} // namespace Observers
} // namespace Ui
