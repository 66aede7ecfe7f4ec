#ifndef CELVANE_UI_OBSERVERS_SIOXIDATIONOBSERVER_H
#define CELVANE_UI_OBSERVERS_SIOXIDATIONOBSERVER_H

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

/// Opens the options of a thermal oxidation.
class SiOxidationObserver : public Util::IObserver
{
public:
    SiOxidationObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;

private:
    Core::Operations::Workspace &workspace;
    QPointer<QWidget> mainWindow;
};

} // namespace Observers
} // namespace Ui

#endif
