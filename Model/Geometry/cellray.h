#ifndef CELVANE_MODEL_GEOMETRY_CELLRAY_H
#define CELVANE_MODEL_GEOMETRY_CELLRAY_H

#include "Util/vector3d.h"

namespace Model {
namespace Automaton {
class TotalVolume;
}

namespace Geometry {

/// A ray through the scene, origin + t * direction with t >= 0, that finds where it first
/// meets matter: the face of the first filled cell of a cell volume, or a horizontal plane.
/// Turns a click in the view into a point of the world.
class CellRay
{
public:
    CellRay(const Util::Vector3D &origin, const Util::Vector3D &direction);

    /// Where the ray enters the first cell that is not empty space, walking the volume's
    /// cells in the order the ray crosses them (holding the volume's cell lock). False when it
    /// meets none.
    bool hitFilledCell(Automaton::TotalVolume &volume, double *t, Util::Vector3D *point) const;
    /// Where the ray crosses the plane z = height; false when it runs parallel to it or the
    /// plane lies behind the origin.
    bool hitPlaneZ(double height, double *t, Util::Vector3D *point) const;

    Util::Vector3D pointAt(double t) const;

private:
    double origin[3];
    double direction[3];
};

} // namespace Geometry
} // namespace Model

#endif
