#include "Model/Automaton/volumemetrology.h"

#include <QMap>

#include <map>
#include <vector>

namespace Model {
namespace Automaton {

namespace {

/// Catalogue ids are small; larger ones (rare) are counted in a map.
constexpr quint32 directIds = 1024;

/// Reads the current cells for the lifetime of the object.
class CellReader
{
public:
    explicit CellReader(TotalVolume &volume) : volume(volume), cells(volume.lockCells()) {}
    ~CellReader() { volume.releaseCells(); }
    const Voxel *get() const { return cells; }

private:
    TotalVolume &volume;
    const Voxel *cells;
};

/// Calls f(top, column) for every column, top being the height above its highest filled cell
/// (0 for an empty column) and column its first cell.
template <class F> void forEachColumnTop(TotalVolume &volume, F f)
{
    const quint64 columns = quint64(volume.getCellsX()) * volume.getCellsY();
    const quint32 cellsZ = volume.getCellsZ();
    if (cellsZ == 0)
        return;
    CellReader reader(volume);
    const Voxel *line = reader.get();
    for (quint64 c = 0; c < columns; ++c, line += cellsZ) {
        quint32 top = cellsZ;
        while (top > 0 && line[top - 1].material == 0)
            --top;
        f(top, line);
    }
}

} // namespace

QList<VolumeMetrology::MaterialAmount> VolumeMetrology::materialAmounts()
{
    std::vector<quint64> direct(directIds, 0);
    QMap<quint32, quint64> others;
    {
        CellReader reader(volume);
        const Voxel *cells = reader.get();
        const quint64 count = volume.getCellCount();
        for (quint64 i = 0; i < count; ++i) {
            const quint32 id = cells[i].material;
            if (id < directIds)
                ++direct[id];
            else
                ++others[id];
        }
    }
    const double cellVolume = double(volume.getCellSizeX()) * double(volume.getCellSizeY()) *
                              double(volume.getCellSizeZ());
    QList<MaterialAmount> amounts;
    for (quint32 id = 0; id < directIds; ++id)
        if (direct[id])
            amounts.append({id, direct[id], double(direct[id]) * cellVolume});
    for (auto it = others.constBegin(); it != others.constEnd(); ++it)
        amounts.append({it.key(), it.value(), double(it.value()) * cellVolume});
    return amounts;
}

QList<VolumeMetrology::Range> VolumeMetrology::column(quint32 x, quint32 y)
{
    QList<Range> ranges;
    if (x >= volume.getCellsX() || y >= volume.getCellsY())
        return ranges;
    const quint32 cellsZ = volume.getCellsZ();
    const double size = volume.getCellSizeZ();
    CellReader reader(volume);
    const Voxel *line = reader.get() + volume.getCellIndex(x, y, 0);
    quint32 z = 0;
    while (z < cellsZ) {
        const quint32 id = line[z].material;
        quint32 end = z + 1;
        while (end < cellsZ && line[end].material == id)
            ++end;
        if (id != 0)
            ranges.append({id, z, end, double(z) * size, double(end) * size});
        z = end;
    }
    return ranges;
}

VolumeMetrology::SurfaceStatistics VolumeMetrology::topSurface()
{
    SurfaceStatistics statistics;
    const quint64 columns = quint64(volume.getCellsX()) * volume.getCellsY();
    const quint32 cellsZ = volume.getCellsZ();
    if (columns == 0 || cellsZ == 0)
        return statistics;
    quint32 lowest = cellsZ;
    quint32 highest = 0;
    quint64 sum = 0;
    forEachColumnTop(volume, [&](quint32 top, const Voxel *) {
        lowest = qMin(lowest, top);
        highest = qMax(highest, top);
        sum += top;
    });
    const double size = volume.getCellSizeZ();
    statistics.minimum = double(lowest) * size;
    statistics.maximum = double(highest) * size;
    statistics.mean = double(sum) / double(columns) * size;
    return statistics;
}

quint32 VolumeMetrology::topMaterial()
{
    std::map<quint32, quint64> tops;
    forEachColumnTop(volume, [&tops](quint32 top, const Voxel *column) {
        if (top > 0)
            ++tops[column[top - 1].material];
    });
    quint32 material = 0;
    quint64 most = 0;
    for (const auto &entry : tops)
        if (entry.second > most) {
            material = entry.first;
            most = entry.second;
        }
    return material;
}

VolumeMetrology::Openings VolumeMetrology::openingsAlongX(quint32 material, quint32 z)
{
    return openings(material, z, true);
}

VolumeMetrology::Openings VolumeMetrology::openingsAlongY(quint32 material, quint32 z)
{
    return openings(material, z, false);
}

VolumeMetrology::Openings VolumeMetrology::openings(quint32 material, quint32 z, bool alongX)
{
    Openings result;
    const quint32 cellsY = volume.getCellsY();
    const quint32 cellsZ = volume.getCellsZ();
    if (z >= cellsZ)
        return result;
    const quint32 lines = alongX ? cellsY : volume.getCellsX();
    const quint32 length = alongX ? volume.getCellsX() : cellsY;
    const quint64 lineStep = alongX ? cellsZ : quint64(cellsY) * cellsZ;
    const quint64 cellStep = alongX ? quint64(cellsY) * cellsZ : cellsZ;
    quint64 totalCells = 0;
    {
        CellReader reader(volume);
        for (quint32 l = 0; l < lines; ++l) {
            const Voxel *line = reader.get() + l * lineStep + z;
            // Position of the last cell of the material seen on this line; none yet.
            bool seen = false;
            quint32 last = 0;
            for (quint32 i = 0; i < length; ++i) {
                if (line[i * cellStep].material != material)
                    continue;
                if (seen && i > last + 1) {
                    const quint32 width = i - last - 1;
                    result.minimumCells = result.count ? qMin(result.minimumCells, width) : width;
                    result.maximumCells = qMax(result.maximumCells, width);
                    totalCells += width;
                    ++result.count;
                }
                seen = true;
                last = i;
            }
        }
    }
    if (result.count) {
        const double size = alongX ? volume.getCellSizeX() : volume.getCellSizeY();
        result.minimum = double(result.minimumCells) * size;
        result.maximum = double(result.maximumCells) * size;
        result.mean = double(totalCells) / double(result.count) * size;
    }
    return result;
}

} // namespace Automaton
} // namespace Model
