#ifndef CELVANE_CORE_OPERATIONS_SELECTION_H
#define CELVANE_CORE_OPERATIONS_SELECTION_H

#include "Model/object.h"
#include "Util/iobserver.h"

#include <QList>
#include <boost/shared_ptr.hpp>

namespace Core {
namespace Operations {

class Document;
class PickState;

/// The objects the user has picked in the 3D view, and whether picking is on.
class Selection
{
public:
    typedef boost::shared_ptr<Model::Object> ObjectPtr;

    Selection(Document *document, PickState *pickState);

    /// Stores the mode when it changes; switching off clears the selection. Then notifies.
    void setSelectionMode(bool on);
    bool isSelectionMode() const { return selectionMode; }
    /// Deselects every object, empties the list and the pick snapshot.
    void clearSelection();

    /// OpenGL selection picking at a window position, with the GL context current and the
    /// view's model-view matrix loaded. Only in selection mode; true when something was hit.
    bool pickAt(int x, int y);
    /// Toggles each object named by its picking number: a selected one leaves the selection,
    /// an unselected one joins it at the end. The pick snapshot follows.
    void togglePicked(const QList<quint32> &pickingNumbers);

    QList<ObjectPtr> getSelectedObjects() const { return selected; }
    void addObserver(const Util::ObserverPtr &observer);

private:
    void publishSnapshot();

    Document *document;
    PickState *pickState;
    QList<ObjectPtr> selected;
    Util::ObserverList observers;
    bool selectionMode;
};

} // namespace Operations
} // namespace Core

#endif
