#include "Model/Geometry/cellray.h"

#include "Model/Automaton/totalvolume.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Model {
namespace Geometry {

CellRay::CellRay(const Util::Vector3D &o, const Util::Vector3D &d)
    : origin{o.x, o.y, o.z}, direction{d.x, d.y, d.z}
{}

Util::Vector3D CellRay::pointAt(double t) const
{
    return Util::Vector3D(origin[0] + t * direction[0], origin[1] + t * direction[1],
                          origin[2] + t * direction[2]);
}

bool CellRay::hitPlaneZ(double height, double *t, Util::Vector3D *point) const
{
    if (direction[2] == 0.0)
        return false;
    const double at = (height - origin[2]) / direction[2];
    if (!(at >= 0.0) || !std::isfinite(at))
        return false;
    *t = at;
    *point = pointAt(at);
    point->z = height;
    return true;
}

bool CellRay::hitFilledCell(Automaton::TotalVolume &volume, double *t, Util::Vector3D *point) const
{
    const quint32 counts[3] = {volume.getCellsX(), volume.getCellsY(), volume.getCellsZ()};
    const double sizes[3] = {volume.getCellSizeX(), volume.getCellSizeY(), volume.getCellSizeZ()};
    const Util::Vector3D position = volume.getPosition();
    const double local[3] = {origin[0] - position.x, origin[1] - position.y,
                             origin[2] - position.z};
    if (counts[0] == 0 || counts[1] == 0 || counts[2] == 0)
        return false;

    // Where the ray enters and leaves the volume's box.
    double enter = 0.0;
    double leave = std::numeric_limits<double>::infinity();
    int enterAxis = -1;
    for (int axis = 0; axis < 3; ++axis) {
        const double extent = counts[axis] * sizes[axis];
        if (direction[axis] == 0.0) {
            if (local[axis] < 0.0 || local[axis] > extent)
                return false;
            continue;
        }
        double near = (0.0 - local[axis]) / direction[axis];
        double far = (extent - local[axis]) / direction[axis];
        if (near > far)
            std::swap(near, far);
        if (near > enter) {
            enter = near;
            enterAxis = axis;
        }
        leave = std::min(leave, far);
    }
    if (!(enter <= leave))
        return false;

    // Walk the cells in the order the ray crosses them.
    qint64 cell[3];
    int step[3];
    double next[3];
    double delta[3];
    for (int axis = 0; axis < 3; ++axis) {
        step[axis] = direction[axis] > 0.0 ? 1 : (direction[axis] < 0.0 ? -1 : 0);
        if (axis == enterAxis) {
            cell[axis] = step[axis] > 0 ? 0 : qint64(counts[axis]) - 1;
        } else {
            const double at = (local[axis] + enter * direction[axis]) / sizes[axis];
            cell[axis] = std::clamp<qint64>(qint64(std::floor(at)), 0, qint64(counts[axis]) - 1);
        }
        if (step[axis] == 0) {
            next[axis] = std::numeric_limits<double>::infinity();
            delta[axis] = next[axis];
        } else {
            const double boundary = (cell[axis] + (step[axis] > 0 ? 1 : 0)) * sizes[axis];
            next[axis] = (boundary - local[axis]) / direction[axis];
            delta[axis] = sizes[axis] / std::abs(direction[axis]);
        }
    }

    const Automaton::Voxel *cells = volume.lockCells();
    bool hit = false;
    double at = enter;
    for (;;) {
        const quint64 index =
            volume.getCellIndex(quint32(cell[0]), quint32(cell[1]), quint32(cell[2]));
        if (cells[index].material != 0) {
            hit = true;
            break;
        }
        const int axis =
            next[0] <= next[1] ? (next[0] <= next[2] ? 0 : 2) : (next[1] <= next[2] ? 1 : 2);
        if (next[axis] > leave)
            break;
        at = next[axis];
        cell[axis] += step[axis];
        if (cell[axis] < 0 || cell[axis] >= qint64(counts[axis]))
            break;
        next[axis] += delta[axis];
    }
    volume.releaseCells();
    if (!hit)
        return false;
    *t = at;
    *point = pointAt(at);
    return true;
}

} // namespace Geometry
} // namespace Model
