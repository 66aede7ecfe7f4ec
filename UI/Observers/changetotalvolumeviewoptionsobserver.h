#ifndef CELVANE_UI_OBSERVERS_CHANGETOTALVOLUMEVIEWOPTIONSOBSERVER_H
#define CELVANE_UI_OBSERVERS_CHANGETOTALVOLUMEVIEWOPTIONSOBSERVER_H

#include "Util/iobserver.h"

#include <QPointer>

class QWidget;

namespace Core {
namespace Operations {
class Workspace;
}
} // namespace Core

namespace Ui {
namespace Observers {

/// Runs the visualization dialog for the running visualization-options operation: on
/// acceptance the edited material colours go into the catalogue and the options to the
/// operation, which then applies them.
class ChangeTotalVolumeViewOptionsObserver : public Util::IObserver
{
public:
    ChangeTotalVolumeViewOptionsObserver(Core::Operations::Workspace &workspace,
                                         QWidget *mainWindow);
    void update() override;

private:
    Core::Operations::Workspace &workspace;
    QPointer<QWidget> mainWindow;
};

} // namespace Observers
} // namespace Ui

#endif
