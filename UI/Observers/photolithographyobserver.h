#ifndef CELVANE_UI_OBSERVERS_PHOTOLITHOGRAPHYOBSERVER_H
#define CELVANE_UI_OBSERVERS_PHOTOLITHOGRAPHYOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the masks and film of a photolithography step.
class PhotolithographyObserver : public OptionsObserver
{
public:
    PhotolithographyObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
