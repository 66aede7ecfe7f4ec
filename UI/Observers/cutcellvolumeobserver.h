#ifndef CELVANE_UI_OBSERVERS_CUTCELLVOLUMEOBSERVER_H
#define CELVANE_UI_OBSERVERS_CUTCELLVOLUMEOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Runs the cut dialog for the running cut: previews apply the limits at once, a rejected
/// dialog puts the previous limits back.
class CutCellVolumeObserver : public OptionsObserver
{
public:
    CutCellVolumeObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
