#include "Core/Operations/pickstate.h"

#include <QMutexLocker>

namespace Core {
namespace Operations {

PickState::PickState()
    : waitingOperation(nullptr), basePoint(nullptr), pointToFill(nullptr), pickMode(nullptr)
{}

QList<PickState::ObjectPtr> PickState::getSelection() const
{
    QMutexLocker locker(&mutex);
    return selection;
}

void PickState::setSelection(const QList<ObjectPtr> &objects)
{
    QMutexLocker locker(&mutex);
    selection = objects;
}

void PickState::publish(Operation *operation, Util::Vector3D *base, Util::Vector3D *fill,
                        quint32 *mode)
{
    QMutexLocker locker(&mutex);
    waitingOperation = operation;
    basePoint = base;
    pointToFill = fill;
    pickMode = mode;
}

Operation *PickState::getWaitingOperation() const
{
    QMutexLocker locker(&mutex);
    return waitingOperation;
}

Util::Vector3D *PickState::getBasePoint() const
{
    QMutexLocker locker(&mutex);
    return basePoint;
}

Util::Vector3D *PickState::getPointToFill() const
{
    QMutexLocker locker(&mutex);
    return pointToFill;
}

quint32 *PickState::getPickMode() const
{
    QMutexLocker locker(&mutex);
    return pickMode;
}

Util::Vector3D PickState::getWorkingPoint(int index) const
{
    QMutexLocker locker(&mutex);
    return workingPoints[index == 0 ? 0 : 1];
}

void PickState::setWorkingPoint(int index, const Util::Vector3D &point)
{
    QMutexLocker locker(&mutex);
    workingPoints[index == 0 ? 0 : 1] = point;
}

void PickState::clear()
{
    QMutexLocker locker(&mutex);
    waitingOperation = nullptr;
    basePoint = nullptr;
    pointToFill = nullptr;
    pickMode = nullptr;
}

} // namespace Operations
} // namespace Core
