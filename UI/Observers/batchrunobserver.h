#ifndef CELVANE_UI_OBSERVERS_BATCHRUNOBSERVER_H
#define CELVANE_UI_OBSERVERS_BATCHRUNOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the batch-run dialog on the volume the running volume selection named (or none).
class BatchRunObserver : public OptionsObserver
{
public:
    BatchRunObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
