#ifndef CELVANE_UI_OBSERVERS_SELECTIONMODEOBSERVER_H
#define CELVANE_UI_OBSERVERS_SELECTIONMODEOBSERVER_H

#include "Util/iobserver.h"

#include <QPointer>

class QAction;

namespace Core {
namespace Operations {
class Selection;
}
} // namespace Core

namespace Ui {
namespace Observers {

/// Keeps the check mark of the "Select" action equal to the selection mode.
class SelectionModeObserver : public Util::IObserver
{
public:
    SelectionModeObserver(QAction *action, Core::Operations::Selection *selection);
    void update() override;

private:
    QPointer<QAction> action;
    Core::Operations::Selection *selection;
};

} // namespace Observers
} // namespace Ui

#endif
