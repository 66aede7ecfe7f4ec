#include "UI/Observers/selectionmodeobserver.h"

#include "Core/Operations/selection.h"

#include <QAction>

namespace Ui {
namespace Observers {

SelectionModeObserver::SelectionModeObserver(QAction *action,
                                             Core::Operations::Selection *selection)
    : action(action), selection(selection)
{}

void SelectionModeObserver::update()
{
    if (action)
        action->setChecked(selection->isSelectionMode());
}

} // namespace Observers
} // namespace Ui
