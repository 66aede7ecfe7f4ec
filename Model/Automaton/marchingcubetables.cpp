#include "Model/Automaton/marchingcubetables.h"

namespace Model {
namespace Automaton {

const quint8 MarchingCubeTables::corners[8][3] = {{0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0},
                                                  {0, 1, 1}, {1, 1, 1}, {1, 0, 1}, {0, 0, 1}};

const quint8 MarchingCubeTables::edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                                 {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

namespace {

int cornerAt(int x, int y, int z)
{
    for (int k = 0; k < 8; ++k)
        if (MarchingCubeTables::corners[k][0] == x && MarchingCubeTables::corners[k][1] == y &&
            MarchingCubeTables::corners[k][2] == z)
            return k;
    return -1;
}

int edgeBetween(int a, int b)
{
    for (int e = 0; e < 12; ++e)
        if ((MarchingCubeTables::edges[e][0] == a && MarchingCubeTables::edges[e][1] == b) ||
            (MarchingCubeTables::edges[e][0] == b && MarchingCubeTables::edges[e][1] == a))
            return e;
    return -1;
}

/// The four corners of each cube face, counter-clockwise seen from outside the cube.
struct FaceTable
{
    int faces[6][4];

    FaceTable()
    {
        // In-plane axes (u, v) with u x v along the face's outward normal on the upper side.
        static const int planeAxes[3][2] = {{1, 2}, {2, 0}, {0, 1}};
        static const int square[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int axis = 0; axis < 3; ++axis)
            for (int side = 0; side < 2; ++side) {
                const int u = planeAxes[axis][side ? 0 : 1];
                const int v = planeAxes[axis][side ? 1 : 0];
                for (int i = 0; i < 4; ++i) {
                    int p[3];
                    p[axis] = side;
                    p[u] = square[i][0];
                    p[v] = square[i][1];
                    faces[axis * 2 + side][i] = cornerAt(p[0], p[1], p[2]);
                }
            }
    }
};

} // namespace

const MarchingCubeTables &MarchingCubeTables::instance()
{
    static const MarchingCubeTables tables;
    return tables;
}

MarchingCubeTables::MarchingCubeTables()
{
    const FaceTable faceTable;
    for (int index = 0; index < 256; ++index) {
        auto occupied = [index](int corner) { return (index >> corner) & 1; };
        quint16 mask = 0;
        for (int e = 0; e < 12; ++e)
            if (occupied(edges[e][0]) != occupied(edges[e][1]))
                mask |= quint16(1u << e);
        edgeMask[index] = mask;

        // Walking a face counter-clockwise, each run of occupied corners is entered over one
        // edge and left over another; the contour crosses the face from the entry to the
        // exit. Every crossed edge is entered on one of its two faces, so next is a
        // permutation of the crossed edges and its cycles are the surface's polygons.
        int next[12];
        for (int e = 0; e < 12; ++e)
            next[e] = -1;
        for (const int *f : faceTable.faces) {
            for (int i = 0; i < 4; ++i) {
                if (!occupied(f[i]) || occupied(f[(i + 1) % 4]))
                    continue;
                int j = (i + 3) % 4;
                while (occupied(f[j]))
                    j = (j + 3) % 4;
                next[edgeBetween(f[j], f[(j + 1) % 4])] = edgeBetween(f[i], f[(i + 1) % 4]);
            }
        }

        int written = 0;
        bool visited[12] = {};
        for (int start = 0; start < 12; ++start) {
            if (next[start] < 0 || visited[start])
                continue;
            int loop[12];
            int n = 0;
            for (int e = start; !visited[e]; e = next[e]) {
                visited[e] = true;
                loop[n++] = e;
            }
            for (int k = 1; k + 1 < n; ++k) {
                triangles[index][written++] = qint8(loop[0]);
                triangles[index][written++] = qint8(loop[k]);
                triangles[index][written++] = qint8(loop[k + 1]);
            }
        }
        for (int i = written; i < rowLength; ++i)
            triangles[index][i] = -1;
        triangleCount[index] = quint8(written / 3);
    }
}

} // namespace Automaton
} // namespace Model
