#ifndef CELVANE_UI_OBSERVERS_EXTRACTFILMOBSERVER_H
#define CELVANE_UI_OBSERVERS_EXTRACTFILMOBSERVER_H

#include "UI/Observers/optionsobserver.h"

namespace Ui {
namespace Observers {

/// Runs the film dialog for the running extraction and says why when it could not extract.
class ExtractFilmObserver : public OptionsObserver
{
public:
    ExtractFilmObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
