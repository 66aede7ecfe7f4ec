#ifndef CELVANE_CORE_OPERATIONS_CELLNEIGHBORHOOD_H
#define CELVANE_CORE_OPERATIONS_CELLNEIGHBORHOOD_H

#include <QtGlobal>

namespace Core {
namespace Operations {

/// Neighbour tables of the cell processes and their index offsets in one cell volume.
///
/// Face table (6 entries, in this order; the order decides ties): (0,0,-1), (0,0,+1), (0,-1,0),
/// (0,+1,0), (-1,0,0), (+1,0,0). Moore table (26 entries): every offset with components in
/// {-1, 0, +1} except (0,0,0), lexicographic with dx slowest and dz fastest. Neighbours outside
/// the volume are never visited: the outside counts neither as filled nor as empty.
class CellNeighborhood
{
public:
    typedef quint64 CellIndex;
    enum
    {
        FaceCount = 6,
        MooreCount = 26
    };

    static const qint32 faceOffsets[FaceCount][3];
    static const qint32 mooreOffsets[MooreCount][3];

    CellNeighborhood(quint32 cellsX, quint32 cellsY, quint32 cellsZ);

    quint32 getCellsX() const { return cellsX; }
    quint32 getCellsY() const { return cellsY; }
    quint32 getCellsZ() const { return cellsZ; }
    CellIndex getCellCount() const { return columnCells * cellsX; }

    CellIndex index(quint32 x, quint32 y, quint32 z) const
    {
        return (CellIndex(x) * cellsY + y) * cellsZ + z;
    }
    void coordinates(CellIndex index, quint32 &x, quint32 &y, quint32 &z) const
    {
        if (index <= 0xFFFFFFFFu && columnCells <= 0xFFFFFFFFu) {
            // Most volumes: 32-bit divisions, several times faster than 64-bit ones.
            const quint32 i = quint32(index);
            const quint32 column = quint32(columnCells);
            x = i / column;
            const quint32 rest = i % column;
            y = rest / cellsZ;
            z = rest % cellsZ;
            return;
        }
        x = quint32(index / columnCells);
        const CellIndex rest = index % columnCells;
        y = quint32(rest / cellsZ);
        z = quint32(rest % cellsZ);
    }
    /// True when all 26 neighbours of (x, y, z) lie inside the volume.
    bool isInterior(quint32 x, quint32 y, quint32 z) const
    {
        return x - 1u < cellsX - 2u && y - 1u < cellsY - 2u && z - 1u < cellsZ - 2u && cellsX > 2 &&
               cellsY > 2 && cellsZ > 2;
    }
    /// True when (x, y, z) + table offset lies inside the volume.
    bool contains(quint32 x, quint32 y, quint32 z, const qint32 *offset) const
    {
        return quint32(qint64(x) + offset[0]) < cellsX && quint32(qint64(y) + offset[1]) < cellsY &&
               quint32(qint64(z) + offset[2]) < cellsZ;
    }

    /// Index difference of face entry k.
    qint64 getFaceDelta(int k) const { return faceDelta[k]; }
    /// The index differences of the whole face table.
    const qint64 *getFaceDeltas() const { return faceDelta; }
    /// Index difference of Moore entry k.
    qint64 getMooreDelta(int k) const { return mooreDelta[k]; }

    /// Calls f(neighbourIndex, neighbourX) for the in-volume Moore neighbours in table order.
    template <class F>
    void forEachMooreNeighbor(CellIndex i, quint32 x, quint32 y, quint32 z, F f) const
    {
        if (isInterior(x, y, z)) {
            for (int k = 0; k < MooreCount; ++k)
                f(CellIndex(qint64(i) + mooreDelta[k]), quint32(qint64(x) + mooreOffsets[k][0]));
            return;
        }
        for (int k = 0; k < MooreCount; ++k)
            if (contains(x, y, z, mooreOffsets[k]))
                f(CellIndex(qint64(i) + mooreDelta[k]), quint32(qint64(x) + mooreOffsets[k][0]));
    }

    /// True when test(neighbourIndex) holds for an in-volume Moore neighbour; the walk follows
    /// the table and stops at the first such neighbour.
    template <class T>
    bool anyMooreNeighbor(CellIndex i, quint32 x, quint32 y, quint32 z, T test) const
    {
        if (isInterior(x, y, z)) {
            for (int k = 0; k < MooreCount; ++k)
                if (test(CellIndex(qint64(i) + mooreDelta[k])))
                    return true;
            return false;
        }
        for (int k = 0; k < MooreCount; ++k)
            if (contains(x, y, z, mooreOffsets[k]) && test(CellIndex(qint64(i) + mooreDelta[k])))
                return true;
        return false;
    }

    /// Calls f(k, neighbourIndex, neighbourX) for the in-volume face neighbours in table order.
    template <class F>
    void forEachFaceNeighbor(CellIndex i, quint32 x, quint32 y, quint32 z, F f) const
    {
        if (isInterior(x, y, z)) {
            // Unrolled: the table's x offsets are known here, and the calls inline flat.
            f(0, CellIndex(qint64(i) + faceDelta[0]), x);
            f(1, CellIndex(qint64(i) + faceDelta[1]), x);
            f(2, CellIndex(qint64(i) + faceDelta[2]), x);
            f(3, CellIndex(qint64(i) + faceDelta[3]), x);
            f(4, CellIndex(qint64(i) + faceDelta[4]), x - 1);
            f(5, CellIndex(qint64(i) + faceDelta[5]), x + 1);
            return;
        }
        for (int k = 0; k < FaceCount; ++k)
            if (contains(x, y, z, faceOffsets[k]))
                f(k, CellIndex(qint64(i) + faceDelta[k]), quint32(qint64(x) + faceOffsets[k][0]));
    }

private:
    quint32 cellsX;
    quint32 cellsY;
    quint32 cellsZ;
    CellIndex columnCells;
    qint64 faceDelta[FaceCount];
    qint64 mooreDelta[MooreCount];
};

} // namespace Operations
} // namespace Core

#endif
