#ifndef CELVANE_MODEL_AUTOMATON_VOXEL_H
#define CELVANE_MODEL_AUTOMATON_VOXEL_H

#include <QtGlobal>

#include <type_traits>

namespace Model {
namespace Automaton {

/// One cell of a cell volume. Copied bitwise; the default constructor leaves it undefined so
/// that large arrays are not written twice.
class Voxel
{
public:
    Voxel() = default;
    /// A cell of the given material; tag 0, not fixed, zero distance.
    explicit Voxel(quint32 materialId)
        : material(materialId), fixed(false), distance{0.0f, 0.0f, 0.0f}, tag(0)
    {}

    quint32 getMaterial() const { return material; }
    void setMaterial(quint32 id) { material = id; }

    bool isFixed() const { return fixed; }
    void setFixed(bool f) { fixed = f; }

    float getDistanceX() const { return distance[0]; }
    float getDistanceY() const { return distance[1]; }
    float getDistanceZ() const { return distance[2]; }
    void setDistanceX(float d) { distance[0] = d; }
    void setDistanceY(float d) { distance[1] = d; }
    void setDistanceZ(float d) { distance[2] = d; }
    void setDistance(float dx, float dy, float dz)
    {
        distance[0] = dx;
        distance[1] = dy;
        distance[2] = dz;
    }

    quint32 getTag() const { return tag; }
    void setTag(quint32 t) { tag = t; }

    /// Material id; 0 is empty space.
    quint32 material;
    /// Set for source cells of a front propagation.
    bool fixed;
    /// Vector to the nearest source cell (dx, dy, dz).
    float distance[3];
    /// Counter of the silicon lattice and the wet etchings.
    quint32 tag;
};

static_assert(std::is_trivially_copyable<Voxel>::value, "voxels are copied bitwise");
static_assert(std::is_trivially_destructible<Voxel>::value, "cell arrays are raw storage");

} // namespace Automaton
} // namespace Model

#endif
