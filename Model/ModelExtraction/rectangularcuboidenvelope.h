#ifndef CELVANE_MODEL_MODELEXTRACTION_RECTANGULARCUBOIDENVELOPE_H
#define CELVANE_MODEL_MODELEXTRACTION_RECTANGULARCUBOIDENVELOPE_H

#include <QtGlobal>
#include <boost/shared_ptr.hpp>

#include <array>

namespace Model {
namespace ModelExtraction {

/// A box of cells of one material, in cell coordinates, with the envelopes that share each of
/// its whole faces. Faces: 0 low x, 1 high x, 2 low y, 3 high y, 4 low z, 5 high z.
class RectangularCuboidEnvelope
{
public:
    typedef boost::shared_ptr<RectangularCuboidEnvelope> Ptr;

    RectangularCuboidEnvelope(quint32 x, quint32 y, quint32 z, quint32 sizeX, quint32 sizeY,
                              quint32 sizeZ, quint32 material);

    /// Sets (or clears, with null) the neighbour on a face and keeps the count right.
    void setNeighbour(int face, RectangularCuboidEnvelope *neighbour);
    RectangularCuboidEnvelope *getNeighbour(int face) const { return neighbours[face]; }

    /// The lowest corner coordinate and the extent along an axis (0 x, 1 y, 2 z).
    quint32 corner(int axis) const { return axis == 0 ? x : axis == 1 ? y : z; }
    quint32 size(int axis) const { return axis == 0 ? sizeX : axis == 1 ? sizeY : sizeZ; }

    /// Six filled faces in colour, then their outlines in grey; display scale included.
    void draw(const float colour[3]) const;

    /// How the envelopes are scaled for display, per axis.
    static const float displayScale[3];

    quint32 x, y, z;
    quint32 sizeX, sizeY, sizeZ;
    quint32 material;
    /// Not owning: the envelopes live in the same list as this one.
    std::array<RectangularCuboidEnvelope *, 6> neighbours;
    quint32 neighbourCount;
};

} // namespace ModelExtraction
} // namespace Model

#endif
