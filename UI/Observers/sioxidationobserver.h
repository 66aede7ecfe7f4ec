#ifndef CELVANE_UI_OBSERVERS_SIOXIDATIONOBSERVER_H
#define CELVANE_UI_OBSERVERS_SIOXIDATIONOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of a thermal oxidation.
class SiOxidationObserver : public OptionsObserver
{
public:
    SiOxidationObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
