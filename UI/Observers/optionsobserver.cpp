#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

OptionsObserver::OptionsObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

} // namespace Observers
} // namespace Ui
