#ifndef CELVANE_UI_OBSERVERS_ATOMICSIBCAETCHOBSERVER_H
#define CELVANE_UI_OBSERVERS_ATOMICSIBCAETCHOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of an atomistic wet etch of silicon (of either kind): the etch depth.
class AtomicSiBCAEtchObserver : public OptionsObserver
{
public:
    AtomicSiBCAEtchObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    /// Accepted options run the etch. Rejected ones leave the operation waiting, with its
    /// volume, until the user cancels it (Escape).
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
