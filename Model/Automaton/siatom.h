#ifndef CELVANE_MODEL_AUTOMATON_SIATOM_H
#define CELVANE_MODEL_AUTOMATON_SIATOM_H

#include "Util/vector3d.h"

#include <QtGlobal>

namespace Model {
namespace Automaton {

class SiCell;

/// One atom of the silicon crystal. Atoms of a unit cell live inside that cell; atoms made for
/// missing neighbours (boundary atoms) belong to no cell. Links are plain pointers and always
/// symmetric: slot k of one end faces slot 3 - k of the other.
class SiAtom
{
public:
    enum State : quint32
    {
        /// Empty space, or etched away.
        Absent = 0,
        Present = 1,
        /// Another material or the outside of the volume: a bonded neighbour that stays.
        Fixed = 3
    };
    /// Face-centred (A) and tetrahedral (B) sites bond in different directions.
    enum SiteType
    {
        SiteA = 0,
        SiteB = 1
    };

    /// Present (or fixed when boundary is set), in no volume cell, without neighbours.
    SiAtom(const Util::Vector3D &position, SiCell *cell, bool boundary);
    /// Clears the slots of the neighbours that face this atom.
    ~SiAtom();
    SiAtom(const SiAtom &) = delete;
    SiAtom &operator=(const SiAtom &) = delete;

    /// Bond vector of a slot of a site type, in the turned frame of a (100) wafer (the [110]
    /// directions along x and y), lattice constant 1.
    static const Util::Vector3D &bondVector(SiteType type, int slot);

    /// Links other through slot (0 to 3; other values do nothing); other's slot 3 - slot
    /// becomes this atom.
    void link(SiAtom *other, int slot)
    {
        if (slot < 0 || slot > 3)
            return;
        neighbours[slot] = other;
        other->neighbours[3 - slot] = this;
    }
    SiAtom *getNeighbor(int slot) const { return neighbours[slot]; }

    /// 4 for a fixed atom; otherwise the slots holding an atom that is not absent.
    int getPresentNeighborCount() const
    {
        if (state == Fixed)
            return 4;
        int count = 0;
        for (SiAtom *n : neighbours)
            count += n && n->state != Absent;
        return count;
    }
    /// Over the slots: a present neighbour adds its present-neighbour count less the bond back,
    /// a fixed one adds 3.
    int getSecondNeighborCount() const
    {
        int count = 0;
        for (SiAtom *n : neighbours) {
            if (!n)
                continue;
            if (n->state == Present)
                count += n->getPresentNeighborCount() - 1;
            else if (n->state == Fixed)
                count += 3;
        }
        return count;
    }
    /// True with at least one slot empty or holding an absent atom.
    bool isSurface() const
    {
        for (SiAtom *n : neighbours)
            if (!n || n->state == Absent)
                return true;
        return false;
    }

    quint32 getState() const { return state; }
    void setState(quint32 s) { state = s; }
    qint32 getCellIndex() const { return cellIndex; }
    void setCellIndex(qint32 index) { cellIndex = index; }
    float getRemaining() const { return remaining; }
    void setRemaining(float r) { remaining = r; }
    SiCell *getCell() const { return cell; }
    Util::Vector3D getPosition() const
    {
        return Util::Vector3D(position[0], position[1], position[2]);
    }
    void setPosition(const Util::Vector3D &p)
    {
        position[0] = p.x;
        position[1] = p.y;
        position[2] = p.z;
    }
    /// The site type from the atom's place in its cell (A for atoms without a cell).
    SiteType getSiteType() const;

private:
    qint32 cellIndex;
    quint32 state;
    float remaining;
    SiAtom *neighbours[4];
    SiCell *cell;
    /// World position; plain doubles, as a vector object would add a vtable to every atom.
    double position[3];
};

} // namespace Automaton
} // namespace Model

#endif
