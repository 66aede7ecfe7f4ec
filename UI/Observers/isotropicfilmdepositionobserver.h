#ifndef CELVANE_UI_OBSERVERS_ISOTROPICFILMDEPOSITIONOBSERVER_H
#define CELVANE_UI_OBSERVERS_ISOTROPICFILMDEPOSITIONOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Opens the options of an isotropic deposition.
class IsotropicFilmDepositionObserver : public OptionsObserver
{
public:
    IsotropicFilmDepositionObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
