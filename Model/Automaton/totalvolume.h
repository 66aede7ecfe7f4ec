#ifndef CELVANE_MODEL_AUTOMATON_TOTALVOLUME_H
#define CELVANE_MODEL_AUTOMATON_TOTALVOLUME_H

#include "Model/Automaton/silattice.h"
#include "Model/Automaton/totalvolumepainter.h"
#include "Model/Automaton/voxel.h"
#include "Model/object.h"
#include "Util/largememory.h"
#include "Util/spinlock.h"
#include "Util/vector3d.h"

#include <QString>
#include <boost/shared_ptr.hpp>

#include <memory>
#include <vector>

namespace Model {
namespace Automaton {

/// The simulated piece of matter: a regular grid of cells, each holding a material id.
/// Cell (x, y, z) sits at index (x * cellsY + y) * cellsZ + z; z is vertical, z = 0 at the
/// bottom. Two arrays of equal shape let automata read one generation while writing the next.
class TotalVolume : public Object
{
public:
    typedef boost::shared_ptr<TotalVolume> Ptr;

    /// Builds a volume whose cells take the ids of materials, in cell-index order. Returns an
    /// empty pointer and an error text when the sizes are invalid, when materials has the
    /// wrong length, or when the two cell arrays would not fit in the memory available.
    static Ptr create(quint32 cellsX, quint32 cellsY, quint32 cellsZ, float cellSizeX,
                      float cellSizeY, float cellSizeZ, const Util::Vector3D &position,
                      const std::vector<quint32> &materials, QString *error = nullptr);
    /// As create(), with every cell of one material.
    static Ptr createFilled(quint32 cellsX, quint32 cellsY, quint32 cellsZ, float cellSizeX,
                            float cellSizeY, float cellSizeZ, const Util::Vector3D &position,
                            quint32 material, QString *error = nullptr);
    /// True when a volume of these counts can be allocated now; otherwise false and a text
    /// for the user. extraBytes is what the caller needs beside the two arrays.
    static bool checkAllocation(quint32 cellsX, quint32 cellsY, quint32 cellsZ,
                                QString *error = nullptr, quint64 extraBytes = 0);
    /// True when a volume of these counts and cell sizes at position keeps both its corners
    /// within the coordinate limit (Object::withinLimit), as documents require of it; otherwise
    /// false and a text for the user.
    static bool checkExtent(quint32 cellsX, quint32 cellsY, quint32 cellsZ, float cellSizeX,
                            float cellSizeY, float cellSizeZ, const Util::Vector3D &position,
                            QString *error = nullptr);
    /// Bytes of one cell array, or 0 when the product overflows.
    static quint64 arrayBytes(quint32 cellsX, quint32 cellsY, quint32 cellsZ);

    ~TotalVolume() override;

    qint32 getType() const override { return 1; }
    void draw(bool a, bool b) override;
    void drawForPicking() override;
    /// Same counts, sizes, position and material ids; fresh id, no masks, default colours.
    boost::shared_ptr<Object> clone() override;
    /// clone() with the reason when the copy cannot be allocated.
    Ptr cloneVolume(QString *error = nullptr);
    void translate(Util::Vector4D d) override;
    bool getBounds(Util::Vector3D &lower, Util::Vector3D &upper) const override;
    void transform(Util::Vector4D, Util::Vector4D) override {}

    quint32 getCellsX() const { return cellsX; }
    quint32 getCellsY() const { return cellsY; }
    quint32 getCellsZ() const { return cellsZ; }
    quint64 getCellCount() const { return quint64(cellsX) * cellsY * cellsZ; }
    float getCellSizeX() const { return cellSizeX; }
    float getCellSizeY() const { return cellSizeY; }
    float getCellSizeZ() const { return cellSizeZ; }
    Util::Vector3D getPosition() const { return position; }

    /// Index of cell (x, y, z) in 64-bit arithmetic; callers keep coordinates in range.
    quint64 getCellIndex(quint32 x, quint32 y, quint32 z) const
    {
        return (quint64(x) * cellsY + y) * cellsZ + z;
    }
    void getCellCoordinates(quint64 index, quint32 &x, quint32 &y, quint32 &z) const;

    /// Acquires cellsLock, then hands out the current generation.
    Voxel *lockCells();
    /// Acquires cellsLock only when it is free at once; null, holding nothing, otherwise.
    Voxel *tryLockCells();
    void releaseCells();
    /// Acquires nextCellsLock, then hands out the second array. Take cellsLock first.
    Voxel *lockNextCells();
    void releaseNextCells();
    /// The next generation becomes current (pointers only).
    void swapCells();

    TotalVolumePainter &getPainter() { return painter; }

    /// The silicon crystal of the last rebuild (empty before the first one).
    SiLattice::Ptr getSiLattice() const { return siLattice; }
    /// Replaces the silicon crystal by a new one built from the current cells (both arrays are
    /// locked meanwhile). False with a reason, and no crystal, when it cannot be built.
    bool rebuildSiLattice(QString *error = nullptr);

    void setBottomMask(const std::vector<bool> &bits, quint32 width, quint32 height);
    void setTopMask(const std::vector<bool> &bits, quint32 width, quint32 height);
    const std::vector<bool> &getBottomMask() const { return bottomMask; }
    const std::vector<bool> &getTopMask() const { return topMask; }
    void getBottomMaskSize(quint32 &width, quint32 &height) const;
    void getTopMaskSize(quint32 &width, quint32 &height) const;
    /// Clears every bit; the length and dimensions stay.
    void clearBottomMask();
    void clearTopMask();

private:
    TotalVolume(quint32 cellsX, quint32 cellsY, quint32 cellsZ, float cellSizeX, float cellSizeY,
                float cellSizeZ, const Util::Vector3D &position);
    static Ptr allocate(quint32 cellsX, quint32 cellsY, quint32 cellsZ, float cellSizeX,
                        float cellSizeY, float cellSizeZ, const Util::Vector3D &position,
                        QString *error);

    typedef std::unique_ptr<Voxel[], Util::LargeMemory::Deleter> CellArray;
    CellArray cells;
    CellArray nextCells;
    Util::SpinLock cellsLock;
    Util::SpinLock nextCellsLock;
    quint32 cellsX;
    quint32 cellsY;
    quint32 cellsZ;
    float cellSizeX;
    float cellSizeY;
    float cellSizeZ;
    Util::Vector3D position;
    std::vector<bool> topMask;
    quint32 topMaskWidth;
    quint32 topMaskHeight;
    std::vector<bool> bottomMask;
    quint32 bottomMaskWidth;
    quint32 bottomMaskHeight;
    SiLattice::Ptr siLattice;
    TotalVolumePainter painter;
};

} // namespace Automaton
} // namespace Model

#endif
