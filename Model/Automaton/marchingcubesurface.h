#ifndef CELVANE_MODEL_AUTOMATON_MARCHINGCUBESURFACE_H
#define CELVANE_MODEL_AUTOMATON_MARCHINGCUBESURFACE_H

#include "Model/Automaton/triangle.h"

#include <QMutex>
#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <map>
#include <vector>

namespace Model {
namespace Automaton {

class TotalVolume;
class Voxel;

/// A smooth triangle surface around the occupied cells of a cut box, by marching cubes over the
/// cell centres with vertices at edge midpoints. Cells outside the box count as empty, so the
/// surface encloses exactly the cells of the box and is closed at its faces. Built in x slabs
/// on Qt's global thread pool with the same triangles in the same order for any thread count.
class MarchingCubeSurface
{
public:
    typedef std::array<float, 4> Color;

    explicit MarchingCubeSurface(TotalVolume *volume);
    MarchingCubeSurface(const MarchingCubeSurface &) = delete;
    MarchingCubeSurface &operator=(const MarchingCubeSurface &) = delete;

    /// Rebuilds the triangles of the cells with lower <= index < upper on every axis (limits
    /// beyond the volume are clamped to it) and smooths their normals. With a material, only its
    /// cells count as occupied, so the surface closes around that material alone (for a file per
    /// material); with 0 every non-empty cell does. Needs no OpenGL context. Holds cellsLock
    /// while it reads. False, with no triangles and getLastError() saying why, when memory runs
    /// out.
    bool rebuild(const quint32 lower[3], const quint32 upper[3], quint32 material = 0);
    /// Draws the triangles in their material colours (highlighted while the volume is
    /// selected). The surface has no outlines, so renderEdges is not used.
    void draw(bool renderEdges);
    /// Frees the triangles.
    void clear();

    /// A copy of the triangles, taken under the surface's lock.
    std::vector<Triangle> getTriangles() const;
    /// Hands the triangles over and leaves the surface empty: no copy for a one-off build.
    std::vector<Triangle> takeTriangles();
    std::size_t getTriangleCount() const;
    /// Bytes the triangle list holds.
    std::size_t getMemoryBytes() const;
    QString getLastError() const;

private:
    TotalVolume *volume;
    quint32 cellsX;
    quint32 cellsY;
    quint32 cellsZ;
    float cellSize[3];
    /// Edge of one marching cube in cells.
    quint32 step;
    /// The volume's current cells during a rebuild, null otherwise.
    const Voxel *cells;
    std::vector<Triangle> triangles;
    /// Colours by material id, refreshed at every draw.
    std::map<quint32, Color> colorMap;
    mutable QMutex mutex;
    QString lastError;
};

} // namespace Automaton
} // namespace Model

#endif
