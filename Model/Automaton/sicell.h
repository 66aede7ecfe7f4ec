#ifndef CELVANE_MODEL_AUTOMATON_SICELL_H
#define CELVANE_MODEL_AUTOMATON_SICELL_H

#include "Model/Automaton/siatom.h"
#include "Util/vector3d.h"

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <vector>

namespace Model {
namespace Automaton {

/// One cubic unit cell of the diamond lattice: eight atoms and the cell's position. The atoms
/// live inside the cell (no allocation per atom); shared pointers to them share the ownership
/// of whatever owns the cell.
class SiCell
{
public:
    typedef boost::shared_ptr<SiCell> Ptr;

    /// Forward directions of the cell grid, in the order the lattice links them.
    enum Direction
    {
        PlusJ = 0,  ///< (0, +1, 0)
        PlusI = 1,  ///< (+1, 0, 0)
        PlusK = 2,  ///< (0, 0, +1)
        PlusIJ = 3, ///< (+1, +1, 0)
        PlusIK = 4, ///< (+1, 0, +1)
        PlusJK = 5, ///< (0, +1, +1)
        DirectionCount = 6
    };
    static const int atomCount = 8;

    /// A cell at grid position (i, j, k) (lattice constant 1, unturned), its atoms present and
    /// bonded inside the cell.
    SiCell(qint32 i, qint32 j, qint32 k);
    /// As the constructor, owned by the returned pointer, so that getSharedAtom works.
    static Ptr create(qint32 i, qint32 j, qint32 k);
    ~SiCell();
    SiCell(const SiCell &) = delete;
    SiCell &operator=(const SiCell &) = delete;

    /// Offset of an atom from the cell position, unturned, in lattice constants.
    static const double basis[atomCount][3];
    /// (index / 2) mod 2: 0 for A sites, 1 for B sites.
    static SiAtom::SiteType siteType(int index) { return SiAtom::SiteType((index / 2) % 2); }

    /// Turns the cell position and every atom by angles in degrees about the world x, y and z
    /// axes through the world origin, in that order; angles of 1e-6 or less are skipped.
    void rotate(double ax, double ay, double az);
    void translate(const Util::Vector3D &d);
    /// Turns p about world axis 0 (x), 1 (y) or 2 (z) by the angle of cosine c and sine s, as
    /// rotate does.
    static void turn(double p[3], int axis, double c, double s);
    static void turnCosSin(double degrees, double &c, double &s);
    /// Bonds this cell's atoms to those of the neighbour cell in a forward direction.
    void linkNeighbor(SiCell &neighbour, Direction direction);

    Util::Vector3D getPosition() const
    {
        return Util::Vector3D(position[0], position[1], position[2]);
    }
    double getPositionX() const { return position[0]; }
    SiAtom *getAtom(int index) { return atoms() + index; }
    const SiAtom *getAtom(int index) const { return atoms() + index; }
    /// The atom, sharing the ownership of the cell's owner; empty when no shared owner was set.
    boost::shared_ptr<SiAtom> getSharedAtom(int index) const;
    /// The eight atoms as shared pointers (empty ones when no shared owner was set).
    std::vector<boost::shared_ptr<SiAtom>> getAtoms() const;
    /// The index of an atom of this cell.
    int indexOf(const SiAtom *atom) const { return int(atom - atoms()); }
    /// What keeps the cell alive: getSharedAtom hands out pointers that share it.
    void setOwner(const boost::shared_ptr<void> &o) { owner = o; }

private:
    SiAtom *atoms() { return reinterpret_cast<SiAtom *>(storage); }
    const SiAtom *atoms() const { return reinterpret_cast<const SiAtom *>(storage); }

    alignas(SiAtom) unsigned char storage[atomCount * sizeof(SiAtom)];
    double position[3];
    boost::weak_ptr<void> owner;
};

} // namespace Automaton
} // namespace Model

#endif
