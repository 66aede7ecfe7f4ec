#include "Model/Geometry/clipplanes.h"

#include <QMutexLocker>

namespace Model {
namespace Geometry {

void ClipPlanes::setPlanes(const std::vector<Util::Vector4D> &p)
{
    QMutexLocker locker(&mutex);
    planes = p;
}

std::vector<Util::Vector4D> ClipPlanes::getPlanes() const
{
    QMutexLocker locker(&mutex);
    return planes;
}

bool ClipPlanes::contains(double x, double y, double z) const
{
    QMutexLocker locker(&mutex);
    for (const Util::Vector4D &p : planes)
        if (p.x * x + p.y * y + p.z * z + p.w > 0.0)
            return false;
    return true;
}

} // namespace Geometry
} // namespace Model
