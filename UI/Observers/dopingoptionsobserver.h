#ifndef CELVANE_UI_OBSERVERS_DOPINGOPTIONSOBSERVER_H
#define CELVANE_UI_OBSERVERS_DOPINGOPTIONSOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of a doping.
class DopingOptionsObserver : public OptionsObserver
{
public:
    DopingOptionsObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
