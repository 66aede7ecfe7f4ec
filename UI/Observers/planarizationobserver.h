#ifndef CELVANE_UI_OBSERVERS_PLANARIZATIONOBSERVER_H
#define CELVANE_UI_OBSERVERS_PLANARIZATIONOBSERVER_H

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

/// Opens the heights of a planarization.
class PlanarizationObserver : public Util::IObserver
{
public:
    PlanarizationObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;

private:
    Core::Operations::Workspace &workspace;
    QPointer<QWidget> mainWindow;
};

} // namespace Observers
} // namespace Ui

#endif
