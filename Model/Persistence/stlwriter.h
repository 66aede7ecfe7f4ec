#ifndef CELVANE_MODEL_PERSISTENCE_STLWRITER_H
#define CELVANE_MODEL_PERSISTENCE_STLWRITER_H

#include "Model/Automaton/totalvolume.h"
#include "Model/Automaton/triangle.h"

#include <QList>
#include <QString>

#include <vector>

namespace Model {
namespace Persistence {

/// Writes the cube faces of a cell volume as binary STL: for each material asked for, every
/// face between one of its cells and a cell of another material (or the outside), as two
/// triangles with the outward normal. Each material's surface is closed on its own, so an
/// interface between two materials appears once in each. Where two cells of a material touch
/// only along an edge, one of them carries a midpoint on that edge, so every edge of the file
/// belongs to exactly two triangles while the shape and the volume stay exact. Coordinates are
/// world units times scale. The file appears only when complete.
class StlWriter
{
public:
    static bool write(Automaton::TotalVolume &volume, const QString &fileName,
                      const QList<quint32> &materials, double scale, QString *error);
    /// Writes triangles given relative to position (a marching-cubes surface), each facet's
    /// normal following its winding.
    static bool writeTriangles(const std::vector<Automaton::Triangle> &triangles,
                               const Util::Vector3D &position, double scale,
                               const QString &fileName, QString *error);
    /// The materials the volume holds, empty space (0) left out, in increasing order.
    static QList<quint32> materialsIn(Automaton::TotalVolume &volume);
};

} // namespace Persistence
} // namespace Model

#endif
