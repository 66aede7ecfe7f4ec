#ifndef CELVANE_UI_OBSERVERS_SPINCOATINGOBSERVER_H
#define CELVANE_UI_OBSERVERS_SPINCOATINGOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the material and height of a pour.
class SpinCoatingObserver : public OptionsObserver
{
public:
    SpinCoatingObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
