#ifndef CELVANE_UI_OBSERVERS_MOOREDEPOSITIONOBSERVER_H
#define CELVANE_UI_OBSERVERS_MOOREDEPOSITIONOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of a Moore-neighbourhood deposition.
class MooreDepositionObserver : public OptionsObserver
{
public:
    MooreDepositionObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
