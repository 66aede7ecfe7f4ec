#ifndef CELVANE_UI_OBSERVERS_CREATESUBSTRATEOBSERVER_H
#define CELVANE_UI_OBSERVERS_CREATESUBSTRATEOBSERVER_H

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

/// Runs the substrate dialog for the running substrate creation and hands it the answer.
class CreateSubstrateObserver : public Util::IObserver
{
public:
    CreateSubstrateObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);
    void update() override;

private:
    Core::Operations::Workspace &workspace;
    QPointer<QWidget> mainWindow;
};

} // namespace Observers
} // namespace Ui

#endif
