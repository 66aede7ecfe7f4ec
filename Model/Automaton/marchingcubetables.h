#ifndef CELVANE_MODEL_AUTOMATON_MARCHINGCUBETABLES_H
#define CELVANE_MODEL_AUTOMATON_MARCHINGCUBETABLES_H

#include <QtGlobal>

namespace Model {
namespace Automaton {

/// The marching-cubes case tables for the cube numbering used by the surface: corners 0 to 7 at
/// offsets (0,1,0), (1,1,0), (1,0,0), (0,0,0), (0,1,1), (1,1,1), (1,0,1), (0,0,1); edges 0 to 11
/// joining corners (0,1), (1,2), (2,3), (3,0), (4,5), (5,6), (6,7), (7,4), (0,4), (1,5), (2,6),
/// (3,7). Bit k of a case is set when corner k is occupied.
///
/// The triangle rows are derived once from the contours the occupied corners cut on the six
/// cube faces. A face with two diagonal occupied corners always keeps them apart, and that
/// choice depends on the face alone, so neighbouring cubes agree on their common face and the
/// surface of any cell pattern is closed. Triangles wind counter-clockwise seen from the empty
/// side, so (q - p) x (r - p) points out of the occupied cells.
class MarchingCubeTables
{
public:
    /// Entries per triangle row: edge triples ended by -1.
    static constexpr int rowLength = 16;

    static const MarchingCubeTables &instance();

    /// Corner offsets (x, y, z) in cells.
    static const quint8 corners[8][3];
    /// The two corners of each edge; the first one gives the vertex its material.
    static const quint8 edges[12][2];

    /// Bit e set when edge e joins an occupied and an empty corner.
    quint16 edgeMask[256];
    /// Up to five triangles per case as edge triples, ended by -1.
    qint8 triangles[256][rowLength];
    /// Triangles of each case.
    quint8 triangleCount[256];

private:
    MarchingCubeTables();
};

} // namespace Automaton
} // namespace Model

#endif
