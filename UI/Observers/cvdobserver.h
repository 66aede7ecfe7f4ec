#ifndef CELVANE_UI_OBSERVERS_CVDOBSERVER_H
#define CELVANE_UI_OBSERVERS_CVDOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of a directional (PVD) deposition.
class CVDObserver : public OptionsObserver
{
public:
    CVDObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
