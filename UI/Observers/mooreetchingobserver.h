#ifndef CELVANE_UI_OBSERVERS_MOOREETCHINGOBSERVER_H
#define CELVANE_UI_OBSERVERS_MOOREETCHINGOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of a Moore-neighbourhood etching.
class MooreEtchingObserver : public OptionsObserver
{
public:
    MooreEtchingObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
