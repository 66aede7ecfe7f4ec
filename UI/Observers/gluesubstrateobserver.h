#ifndef CELVANE_UI_OBSERVERS_GLUESUBSTRATEOBSERVER_H
#define CELVANE_UI_OBSERVERS_GLUESUBSTRATEOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Runs the glue dialog with the limits the two volumes allow, and says why when they could
/// not be glued.
class GlueSubstrateObserver : public OptionsObserver
{
public:
    GlueSubstrateObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
