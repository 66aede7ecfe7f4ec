#ifndef CELVANE_UI_OBSERVERS_ELECTRODEPOSITIONOBSERVER_H
#define CELVANE_UI_OBSERVERS_ELECTRODEPOSITIONOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of an electroplating.
class ElectrodepositionObserver : public OptionsObserver
{
public:
    ElectrodepositionObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
