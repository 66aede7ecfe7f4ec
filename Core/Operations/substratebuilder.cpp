#include "Core/Operations/substratebuilder.h"

namespace Core {
namespace Operations {

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

SubstrateBuilder::SubstrateBuilder(quint32 materialId, quint32 cellsX, quint32 cellsY,
                                   quint32 cellsZ, const Util::Vector3D &position)
    : materialId(materialId), cellsX(cellsX), cellsY(cellsY), cellsZ(cellsZ), position(position),
      spherical(false), offsetX(0), offsetY(0), offsetZ(0), width(0), length(0), height(0),
      centerX(0), centerY(0), centerZ(0), radius(0)
{}

void SubstrateBuilder::setBox(quint32 ox, quint32 oy, quint32 oz, quint32 w, quint32 l, quint32 h)
{
    spherical = false;
    offsetX = ox;
    offsetY = oy;
    offsetZ = oz;
    width = w;
    length = l;
    height = h;
}

void SubstrateBuilder::setSphere(quint32 cx, quint32 cy, quint32 cz, quint32 r)
{
    spherical = true;
    centerX = cx;
    centerY = cy;
    centerZ = cz;
    radius = r;
}

TotalVolume::Ptr SubstrateBuilder::build(QString *error) const
{
    if (!TotalVolume::checkExtent(cellsX, cellsY, cellsZ, 1.0f, 1.0f, 1.0f, position, error))
        return TotalVolume::Ptr();
    // Filled in place: no intermediate id list as large as the volume.
    TotalVolume::Ptr volume =
        TotalVolume::createFilled(cellsX, cellsY, cellsZ, 1.0f, 1.0f, 1.0f, position, 0, error);
    if (!volume)
        return volume;
    Voxel *cells = volume->lockCells();
    Voxel *next = volume->lockNextCells();
    if (spherical) {
        const float cellSize = 1.0f;
        const float limit = float(radius) * float(radius) * cellSize * cellSize;
        for (quint32 x = 0; x < cellsX; ++x) {
            const float dx = float(qint64(x) - qint64(centerX)) * cellSize;
            for (quint32 y = 0; y < cellsY; ++y) {
                const float dy = float(qint64(y) - qint64(centerY)) * cellSize;
                const quint64 column = volume->getCellIndex(x, y, 0);
                for (quint32 z = 0; z < cellsZ; ++z) {
                    const float dz = float(qint64(z) - qint64(centerZ)) * cellSize;
                    if (dx * dx + dy * dy + dz * dz <= limit) {
                        cells[column + z].material = materialId;
                        next[column + z].material = materialId;
                    }
                }
            }
        }
    } else {
        // 64-bit ends: an offset plus a size may pass 2^32.
        const quint64 endX = qMin<quint64>(cellsX, quint64(offsetX) + width);
        const quint64 endY = qMin<quint64>(cellsY, quint64(offsetY) + length);
        const quint64 endZ = qMin<quint64>(cellsZ, quint64(offsetZ) + height);
        for (quint64 x = offsetX; x < endX; ++x) {
            for (quint64 y = offsetY; y < endY; ++y) {
                const quint64 column = volume->getCellIndex(quint32(x), quint32(y), 0);
                for (quint64 z = offsetZ; z < endZ; ++z) {
                    cells[column + z].material = materialId;
                    next[column + z].material = materialId;
                }
            }
        }
    }
    volume->releaseNextCells();
    volume->releaseCells();
    return volume;
}

} // namespace Operations
} // namespace Core
