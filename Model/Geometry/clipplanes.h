#ifndef CELVANE_MODEL_GEOMETRY_CLIPPLANES_H
#define CELVANE_MODEL_GEOMETRY_CLIPPLANES_H

#include "Util/vector4d.h"

#include <QMutex>

#include <vector>

namespace Model {
namespace Geometry {

/// The cut planes of a cell volume, shared by the painter (which writes them) and the renderers
/// that draw from other data than the cells (which read them). Each plane is (nx, ny, nz, w) in
/// cell units; a point p lies on the kept side when nx px + ny py + nz pz + w <= 0.
class ClipPlanes
{
public:
    ClipPlanes() = default;
    ClipPlanes(const ClipPlanes &) = delete;
    ClipPlanes &operator=(const ClipPlanes &) = delete;

    void setPlanes(const std::vector<Util::Vector4D> &planes);
    /// A copy taken under the lock.
    std::vector<Util::Vector4D> getPlanes() const;
    /// True when the point (in cell units) is on the kept side of every plane.
    bool contains(double x, double y, double z) const;

private:
    mutable QMutex mutex;
    std::vector<Util::Vector4D> planes;
};

} // namespace Geometry
} // namespace Model

#endif
