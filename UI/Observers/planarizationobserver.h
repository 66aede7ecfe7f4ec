#ifndef CELVANE_UI_OBSERVERS_PLANARIZATIONOBSERVER_H
#define CELVANE_UI_OBSERVERS_PLANARIZATIONOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the heights of a planarization.
class PlanarizationObserver : public OptionsObserver
{
public:
    PlanarizationObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
