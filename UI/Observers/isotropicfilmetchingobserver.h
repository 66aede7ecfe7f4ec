#ifndef CELVANE_UI_OBSERVERS_ISOTROPICFILMETCHINGOBSERVER_H
#define CELVANE_UI_OBSERVERS_ISOTROPICFILMETCHINGOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of an isotropic etch.
class IsotropicFilmEtchingObserver : public OptionsObserver
{
public:
    IsotropicFilmEtchingObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
