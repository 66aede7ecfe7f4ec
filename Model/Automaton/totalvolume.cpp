#include "Model/Automaton/totalvolume.h"

#include "Util/systemmemory.h"

#include <QDebug>

#include <cstring>
#include <limits>
#include <new>

namespace Model {
namespace Automaton {

namespace {
// Room left for the painter's faces, undo records and the rest of the program.
const double usableMemoryFraction = 0.9;
} // namespace

TotalVolume::TotalVolume(quint32 cellsX, quint32 cellsY, quint32 cellsZ, float cellSizeX,
                         float cellSizeY, float cellSizeZ, const Util::Vector3D &position)
    : cellsX(cellsX), cellsY(cellsY), cellsZ(cellsZ), cellSizeX(cellSizeX), cellSizeY(cellSizeY),
      cellSizeZ(cellSizeZ), position(position), topMaskWidth(0), topMaskHeight(0),
      bottomMaskWidth(0), bottomMaskHeight(0), painter(this)
{}

TotalVolume::~TotalVolume() = default;

quint64 TotalVolume::arrayBytes(quint32 cellsX, quint32 cellsY, quint32 cellsZ)
{
    const quint64 max = std::numeric_limits<quint64>::max();
    const quint64 xy = quint64(cellsX) * cellsY; // cannot overflow: both below 2^32
    if (cellsZ != 0 && xy > max / cellsZ)
        return 0;
    const quint64 count = xy * cellsZ;
    if (count > max / sizeof(Voxel))
        return 0;
    return count * sizeof(Voxel);
}

bool TotalVolume::checkAllocation(quint32 cellsX, quint32 cellsY, quint32 cellsZ, QString *error,
                                  quint64 extraBytes)
{
    const QString size = QStringLiteral("%1 x %2 x %3").arg(cellsX).arg(cellsY).arg(cellsZ);
    if (cellsX == 0 || cellsY == 0 || cellsZ == 0) {
        if (error)
            *error = QStringLiteral("Cannot create a cell volume of %1 cells: it needs at least "
                                    "one cell along each axis.")
                         .arg(size);
        return false;
    }
    const quint64 oneArray = arrayBytes(cellsX, cellsY, cellsZ);
    const quint64 max = std::numeric_limits<quint64>::max();
    if (oneArray == 0 || oneArray > (max - extraBytes) / 2 ||
        quint64(cellsX) * cellsY * cellsZ > quint64(std::numeric_limits<std::ptrdiff_t>::max())) {
        if (error)
            *error = QStringLiteral("Cannot create a cell volume of %1 cells: it is too large "
                                    "to be addressed.")
                         .arg(size);
        return false;
    }
    const quint64 needed = 2 * oneArray + extraBytes;
    const quint64 available = Util::SystemMemory::availableBytes();
    if (available != 0 && double(needed) > double(available) * usableMemoryFraction) {
        if (error)
            *error = QStringLiteral("Cannot create a cell volume of %1 cells: it needs %2 of "
                                    "memory and only %3 are available.")
                         .arg(size, Util::SystemMemory::formatBytes(double(needed)),
                              Util::SystemMemory::formatBytes(double(available)));
        return false;
    }
    return true;
}

bool TotalVolume::checkExtent(quint32 cellsX, quint32 cellsY, quint32 cellsZ, float cellSizeX,
                              float cellSizeY, float cellSizeZ, const Util::Vector3D &position,
                              QString *error)
{
    const Util::Vector3D far(position.x + double(cellsX) * double(cellSizeX),
                             position.y + double(cellsY) * double(cellSizeY),
                             position.z + double(cellsZ) * double(cellSizeZ));
    if (withinLimit(position) && withinLimit(far))
        return true;
    if (error)
        *error = QStringLiteral("Cannot create a cell volume of %1 x %2 x %3 cells at (%4, %5, "
                                "%6): it would reach beyond %7 units from the origin, where it "
                                "can be neither shown nor saved.")
                     .arg(cellsX)
                     .arg(cellsY)
                     .arg(cellsZ)
                     .arg(position.x)
                     .arg(position.y)
                     .arg(position.z)
                     .arg(coordinateLimit, 0, 'f', 0);
    return false;
}

TotalVolume::Ptr TotalVolume::allocate(quint32 cellsX, quint32 cellsY, quint32 cellsZ,
                                       float cellSizeX, float cellSizeY, float cellSizeZ,
                                       const Util::Vector3D &position, QString *error)
{
    if (!checkAllocation(cellsX, cellsY, cellsZ, error))
        return Ptr();
    const quint64 count = quint64(cellsX) * cellsY * cellsZ;
    Ptr volume(new (std::nothrow)
                   TotalVolume(cellsX, cellsY, cellsZ, cellSizeX, cellSizeY, cellSizeZ, position));
    if (volume) {
        // Voxels are trivial: raw storage is filled by the callers before anyone reads it.
        const std::size_t bytes = std::size_t(count) * sizeof(Voxel);
        volume->cells.reset(static_cast<Voxel *>(Util::LargeMemory::allocate(bytes)));
        volume->nextCells.reset(static_cast<Voxel *>(Util::LargeMemory::allocate(bytes)));
    }
    if (!volume || !volume->cells || !volume->nextCells) {
        if (error)
            *error = QStringLiteral("Cannot create a cell volume of %1 x %2 x %3 cells: "
                                    "out of memory.")
                         .arg(cellsX)
                         .arg(cellsY)
                         .arg(cellsZ);
        return Ptr();
    }
    return volume;
}

TotalVolume::Ptr TotalVolume::create(quint32 cellsX, quint32 cellsY, quint32 cellsZ,
                                     float cellSizeX, float cellSizeY, float cellSizeZ,
                                     const Util::Vector3D &position,
                                     const std::vector<quint32> &materials, QString *error)
{
    const quint64 count = quint64(cellsX) * cellsY * cellsZ;
    if (arrayBytes(cellsX, cellsY, cellsZ) != 0 && materials.size() != count) {
        if (error)
            *error = QStringLiteral("Cannot create a cell volume: %1 material ids given for "
                                    "%2 cells.")
                         .arg(materials.size())
                         .arg(count);
        return Ptr();
    }
    Ptr volume = allocate(cellsX, cellsY, cellsZ, cellSizeX, cellSizeY, cellSizeZ, position, error);
    if (!volume)
        return volume;
    Voxel *a = volume->cells.get();
    for (quint64 i = 0; i < count; ++i)
        a[i] = Voxel(materials[i]);
    std::memcpy(static_cast<void *>(volume->nextCells.get()), a, count * sizeof(Voxel));
    return volume;
}

TotalVolume::Ptr TotalVolume::createFilled(quint32 cellsX, quint32 cellsY, quint32 cellsZ,
                                           float cellSizeX, float cellSizeY, float cellSizeZ,
                                           const Util::Vector3D &position, quint32 material,
                                           QString *error)
{
    Ptr volume = allocate(cellsX, cellsY, cellsZ, cellSizeX, cellSizeY, cellSizeZ, position, error);
    if (!volume)
        return volume;
    const quint64 count = volume->getCellCount();
    const Voxel cell(material);
    Voxel *a = volume->cells.get();
    Voxel *b = volume->nextCells.get();
    for (quint64 i = 0; i < count; ++i) {
        a[i] = cell;
        b[i] = cell;
    }
    return volume;
}

void TotalVolume::getCellCoordinates(quint64 index, quint32 &x, quint32 &y, quint32 &z) const
{
    const quint64 yz = quint64(cellsY) * cellsZ;
    x = quint32(index / yz);
    y = quint32((index % yz) / cellsZ);
    z = quint32(index % cellsZ);
}

void TotalVolume::draw(bool a, bool b)
{
    painter.draw(a, b);
}

void TotalVolume::drawForPicking()
{
    painter.drawForPicking();
}

boost::shared_ptr<Object> TotalVolume::clone()
{
    return cloneVolume();
}

TotalVolume::Ptr TotalVolume::cloneVolume(QString *error)
{
    Ptr copy = allocate(cellsX, cellsY, cellsZ, cellSizeX, cellSizeY, cellSizeZ, position, error);
    if (!copy)
        return copy;
    const quint64 count = getCellCount();
    Voxel *source = lockCells();
    Voxel *a = copy->cells.get();
    Voxel *b = copy->nextCells.get();
    for (quint64 i = 0; i < count; ++i) {
        const Voxel cell(source[i].material);
        a[i] = cell;
        b[i] = cell;
    }
    releaseCells();
    return copy;
}

void TotalVolume::translate(Util::Vector4D d)
{
    position.x += d.x;
    position.y += d.y;
    position.z += d.z;
}

bool TotalVolume::getBounds(Util::Vector3D &lower, Util::Vector3D &upper) const
{
    lower = position;
    upper = position + Util::Vector3D(cellsX * double(cellSizeX), cellsY * double(cellSizeY),
                                      cellsZ * double(cellSizeZ));
    return true;
}

Voxel *TotalVolume::lockCells()
{
    cellsLock.lock();
    return cells.get();
}

Voxel *TotalVolume::tryLockCells()
{
    return cellsLock.tryLock() ? cells.get() : nullptr;
}

void TotalVolume::releaseCells()
{
    cellsLock.unlock();
}

Voxel *TotalVolume::lockNextCells()
{
    nextCellsLock.lock();
    return nextCells.get();
}

void TotalVolume::releaseNextCells()
{
    nextCellsLock.unlock();
}

void TotalVolume::swapCells()
{
    cells.swap(nextCells);
}

bool TotalVolume::rebuildSiLattice(QString *error)
{
    // The old crystal goes first: two crystals of a large volume may not fit side by side.
    siLattice.reset();
    siLattice.reset(new SiLattice(this));
    const bool built = siLattice->initialize(error);
    if (!built)
        siLattice.reset();
    qDebug() << "Done initializing";
    return built;
}

void TotalVolume::setBottomMask(const std::vector<bool> &bits, quint32 width, quint32 height)
{
    bottomMask = bits;
    bottomMaskWidth = width;
    bottomMaskHeight = height;
}

void TotalVolume::setTopMask(const std::vector<bool> &bits, quint32 width, quint32 height)
{
    topMask = bits;
    topMaskWidth = width;
    topMaskHeight = height;
}

void TotalVolume::getBottomMaskSize(quint32 &width, quint32 &height) const
{
    width = bottomMaskWidth;
    height = bottomMaskHeight;
}

void TotalVolume::getTopMaskSize(quint32 &width, quint32 &height) const
{
    width = topMaskWidth;
    height = topMaskHeight;
}

void TotalVolume::clearBottomMask()
{
    std::fill(bottomMask.begin(), bottomMask.end(), false);
}

void TotalVolume::clearTopMask()
{
    std::fill(topMask.begin(), topMask.end(), false);
}

} // namespace Automaton
} // namespace Model
