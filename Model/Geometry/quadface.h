#ifndef CELVANE_MODEL_GEOMETRY_QUADFACE_H
#define CELVANE_MODEL_GEOMETRY_QUADFACE_H

#include <QtGlobal>

#include <type_traits>

namespace Model {
namespace Automaton {
class Voxel;
}

namespace Geometry {

/// One visible square face of one cell, ready to be replayed in immediate mode. A plain record:
/// faces are built by the million, so it has no constructor work and no spare fields.
struct QuadFace
{
    /// The six sides of a cell, in the order in which faces are emitted.
    enum Side
    {
        Bottom = 0, ///< -z
        Top = 1,    ///< +z
        Front = 2,  ///< -y
        Back = 3,   ///< +y
        Left = 4,   ///< -x
        Right = 5,  ///< +x
        SideCount = 6
    };

    /// Outward unit normal of each side.
    static constexpr float normals[SideCount][3] = {{0.0f, 0.0f, -1.0f}, {0.0f, 0.0f, 1.0f},
                                                    {0.0f, -1.0f, 0.0f}, {0.0f, 1.0f, 0.0f},
                                                    {-1.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}};
    /// Corner offsets (i, j, k) of each side's four vertices, counter-clockwise seen from
    /// outside, so back-face culling keeps the faces that point at the viewer.
    static constexpr quint8 offsets[SideCount][4][3] = {
        {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}, // bottom
        {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, // top
        {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, // front
        {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}}, // back
        {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}}, // left
        {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}, // right
    };

    /// Sets the vertices and the normal of the given side of a cell whose lower and upper
    /// coordinates along each axis are xs[0], xs[1], ys[0], ys[1], zs[0], zs[1].
    void setGeometry(int side, const float xs[2], const float ys[2], const float zs[2])
    {
        for (int v = 0; v < 4; ++v) {
            vertices[v][0] = xs[offsets[side][v][0]];
            vertices[v][1] = ys[offsets[side][v][1]];
            vertices[v][2] = zs[offsets[side][v][2]];
        }
        normal = normals[side];
    }

    /// Sets color and outlineColor to the same RGBA value.
    void setColors(const float rgba[4])
    {
        for (int i = 0; i < 4; ++i) {
            color[i] = rgba[i];
            outlineColor[i] = rgba[i];
        }
    }

    /// Four corners in the volume's local coordinates; faces share no vertex storage.
    float vertices[4][3];
    /// Points into normals.
    const float *normal;
    float color[4];
    float outlineColor[4];
    union {
        /// The cell the face belongs to, so colours can follow its material without a rebuild.
        const Automaton::Voxel *voxel;
        /// Surfaces whose faces span many cells carry the material id instead.
        quint32 material;
    };
};

static_assert(std::is_trivial<QuadFace>::value, "faces are stored in raw arrays");
static_assert(sizeof(QuadFace) == 96, "a face record carries no padding");

} // namespace Geometry
} // namespace Model

#endif
