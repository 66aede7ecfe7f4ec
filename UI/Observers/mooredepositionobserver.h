#ifndef CELVANE_UI_OBSERVERS_MOOREDEPOSITIONOBSERVER_H
#define CELVANE_UI_OBSERVERS_MOOREDEPOSITIONOBSERVER_H

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

/// Opens the options of a Moore-neighbourhood deposition.
class MooreDepositionObserver : public Util::IObserver
{
public:
    MooreDepositionObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;

private:
    Core::Operations::Workspace &workspace;
    QPointer<QWidget> mainWindow;
};

} // namespace Observers
} // namespace Ui

#endif
