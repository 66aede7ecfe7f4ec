#ifndef CELVANE_MODEL_AUTOMATON_SILATTICE_H
#define CELVANE_MODEL_AUTOMATON_SILATTICE_H

#include "Model/Automaton/sicell.h"
#include "Util/vector3d.h"

#include <QString>
#include <QtGlobal>

#include <boost/shared_ptr.hpp>

#include <deque>
#include <list>
#include <map>

namespace Model {
namespace Automaton {

class TotalVolume;
class Voxel;

/// The diamond-cubic silicon crystal over the silicon cells (material 1) of one cell volume,
/// for a (100) wafer: unit-cell edges along z stay vertical and the horizontal ones are turned
/// by 45 degrees, so the [110] directions run along x and y. Only unit cells that hold silicon
/// are kept; each silicon cell's tag counts the atoms lying in it. A snapshot: later steps that
/// change the cells do not touch it.
class SiLattice
{
public:
    typedef boost::shared_ptr<SiLattice> Ptr;
    typedef std::map<quint32, SiCell::Ptr> CellMap;
    /// Boundary atoms in bulk: elements never move, so links to them stay valid.
    typedef std::deque<SiAtom> AtomPool;
    typedef std::list<AtomPool> AtomPools;

    /// Reads the volume's counts, sizes and position; no atoms yet.
    explicit SiLattice(TotalVolume *volume);
    ~SiLattice();
    SiLattice(const SiLattice &) = delete;
    SiLattice &operator=(const SiLattice &) = delete;

    /// Builds the cells and bonds from the volume's current cells, holding both cell arrays
    /// meanwhile. Clears every cell's tag first, then counts the atoms of each silicon cell.
    /// False with a reason (and no cells) when the memory cannot be had.
    bool initialize(QString *error = nullptr);

    const CellMap &getCells() const { return cells; }
    /// Boundary atoms handed over by the wet etchings, kept alive and linked.
    const AtomPools &getBoundaryAtoms() const { return boundaryAtoms; }
    quint64 getBoundaryAtomCount() const;
    /// Takes over a pool of boundary atoms (the pool is left empty).
    void adoptBoundaryAtoms(AtomPool &pool);
    /// The eight corners of one turned unit cell, relative to its position.
    const Util::Vector3D *getUnitCellCorners() const { return unitCellCorners; }

    TotalVolume *getVolume() const { return volume; }
    quint32 getCellsA() const { return cellsA; }
    quint32 getCellsB() const { return cellsB; }
    quint32 getCellsC() const { return cellsC; }
    Util::Vector3D getOrigin() const { return origin; }
    /// The volume's position when the crystal was built.
    Util::Vector3D getVolumePosition() const { return volumePosition; }
    quint32 unitCellIndex(quint32 i, quint32 j, quint32 k) const
    {
        return (i * cellsB + j) * cellsC + k;
    }
    /// Index of the volume cell holding a world position, or -1 outside the volume (the lower
    /// faces belong to the volume, the upper ones do not).
    qint64 volumeCellIndexAt(const Util::Vector3D &p) const;
    /// True when the crystal was built for this volume as it stands now: same counts, sizes
    /// and position (a moved volume needs a new crystal).
    bool fits(const TotalVolume &v) const;
    /// The stored cells side by side in map order, for walks over every atom.
    SiCell *getCellArray() const;
    std::size_t getCellArraySize() const;
    /// Atoms of the stored cells.
    quint64 getAtomCount() const { return quint64(cells.size()) * SiCell::atomCount; }

private:
    struct CellStore;
    void atomPosition(quint32 i, quint32 j, quint32 k, int atom, double out[3]) const;
    bool columnMayTouchVolume(quint32 i, quint32 j) const;

    CellMap cells;
    AtomPools boundaryAtoms;
    boost::shared_ptr<CellStore> store;
    TotalVolume *volume;
    quint32 volumeCellsX;
    quint32 volumeCellsY;
    quint32 volumeCellsZ;
    Util::Vector3D volumePosition;
    Util::Vector3D origin;
    quint32 cellsA;
    quint32 cellsB;
    quint32 cellsC;
    Voxel *currentCells;
    Voxel *nextCells;
    Util::Vector3D unitCellCorners[8];
    double cellSize[3];
    double turnCos;
    double turnSin;
};

} // namespace Automaton
} // namespace Model

#endif
