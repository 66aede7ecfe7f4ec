#ifndef CELVANE_UI_OBSERVERS_SIMPLERIEOBSERVER_H
#define CELVANE_UI_OBSERVERS_SIMPLERIEOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of a simple reactive-ion etch.
class SimpleRIEObserver : public OptionsObserver
{
public:
    SimpleRIEObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
