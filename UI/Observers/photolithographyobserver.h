#ifndef CELVANE_UI_OBSERVERS_PHOTOLITHOGRAPHYOBSERVER_H
#define CELVANE_UI_OBSERVERS_PHOTOLITHOGRAPHYOBSERVER_H

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

/// Opens the masks and film of a photolithography step.
class PhotolithographyObserver : public Util::IObserver
{
public:
    PhotolithographyObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;

private:
    Core::Operations::Workspace &workspace;
    QPointer<QWidget> mainWindow;
};

} // namespace Observers
} // namespace Ui

#endif
