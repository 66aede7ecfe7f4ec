#ifndef CELVANE_UI_OBSERVERS_CREATESUBSTRATEOBSERVER_H
#define CELVANE_UI_OBSERVERS_CREATESUBSTRATEOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Runs the substrate dialog for the running substrate creation and hands it the answer.
class CreateSubstrateObserver : public OptionsObserver
{
public:
    CreateSubstrateObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
