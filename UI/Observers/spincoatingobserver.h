#ifndef CELVANE_UI_OBSERVERS_SPINCOATINGOBSERVER_H
#define CELVANE_UI_OBSERVERS_SPINCOATINGOBSERVER_H

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

/// Opens the material and height of a pour.
class SpinCoatingObserver : public Util::IObserver
{
public:
    SpinCoatingObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;

private:
    Core::Operations::Workspace &workspace;
    QPointer<QWidget> mainWindow;
};

} // namespace Observers
} // namespace Ui

#endif
