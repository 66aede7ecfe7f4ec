#ifndef CELVANE_CORE_OPERATIONS_PICKSTATE_H
#define CELVANE_CORE_OPERATIONS_PICKSTATE_H

#include "Model/object.h"
#include "Util/vector3d.h"

#include <QList>
#include <QMutex>
#include <boost/shared_ptr.hpp>

namespace Core {
namespace Operations {

class Operation;

/// What the view has picked, as operations read it: a snapshot of the selected objects and
/// the points that Move and Copy publish for a click. Guarded by its own mutex, held only
/// inside the accessors.
class PickState
{
public:
    typedef boost::shared_ptr<Model::Object> ObjectPtr;

    PickState();

    QList<ObjectPtr> getSelection() const;
    void setSelection(const QList<ObjectPtr> &objects);

    /// Move and Copy publish the operation that waits for a click, the base point, the point
    /// to fill and their pick-mode word.
    void publish(Operation *operation, Util::Vector3D *basePoint, Util::Vector3D *pointToFill,
                 quint32 *pickMode);
    Operation *getWaitingOperation() const;
    Util::Vector3D *getBasePoint() const;
    Util::Vector3D *getPointToFill() const;
    quint32 *getPickMode() const;

    Util::Vector3D getWorkingPoint(int index) const;
    void setWorkingPoint(int index, const Util::Vector3D &point);

    /// Zeroes the published pointers; the snapshot stays.
    void clear();

private:
    mutable QMutex mutex;
    QList<ObjectPtr> selection;
    Operation *waitingOperation;
    Util::Vector3D *basePoint;
    Util::Vector3D *pointToFill;
    quint32 *pickMode;
    Util::Vector3D workingPoints[2];
};

} // namespace Operations
} // namespace Core

#endif
