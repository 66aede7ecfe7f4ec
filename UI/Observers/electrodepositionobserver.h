#ifndef CELVANE_UI_OBSERVERS_ELECTRODEPOSITIONOBSERVER_H
#define CELVANE_UI_OBSERVERS_ELECTRODEPOSITIONOBSERVER_H

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

/// Opens the options of an electroplating.
class ElectrodepositionObserver : public Util::IObserver
{
public:
    ElectrodepositionObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;

private:
    Core::Operations::Workspace &workspace;
    QPointer<QWidget> mainWindow;
};

} // namespace Observers
} // namespace Ui

#endif
