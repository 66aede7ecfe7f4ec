#include "UI/Observers/ccawetetchingobserver.h"

namespace Ui {
namespace Observers {

CCAWetEtchingObserver::CCAWetEtchingObserver(Core::Operations::Workspace &workspace,
                                             QWidget *mainWindow)
    : AtomicSiBCAEtchObserver(workspace, mainWindow)
{}

} // namespace Observers
} // namespace Ui
