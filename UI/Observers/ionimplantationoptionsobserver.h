#ifndef CELVANE_UI_OBSERVERS_IONIMPLANTATIONOPTIONSOBSERVER_H
#define CELVANE_UI_OBSERVERS_IONIMPLANTATIONOPTIONSOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of an ion implantation.
class IonImplantationOptionsObserver : public OptionsObserver
{
public:
    IonImplantationOptionsObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
