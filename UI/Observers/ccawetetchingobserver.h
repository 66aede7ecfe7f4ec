#ifndef CELVANE_UI_OBSERVERS_CCAWETETCHINGOBSERVER_H
#define CELVANE_UI_OBSERVERS_CCAWETETCHINGOBSERVER_H

#include "UI/Observers/atomicsibcaetchobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of a continuous wet etch of silicon: the same etch depth as the
/// atomistic etch asks for.
class CCAWetEtchingObserver : public AtomicSiBCAEtchObserver
{
public:
    CCAWetEtchingObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
};

} // namespace Observers
} // namespace Ui

#endif
