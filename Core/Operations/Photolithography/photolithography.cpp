#include "Core/Operations/Photolithography/photolithography.h"

#include "Util/progress.h"

#include <algorithm>

namespace Core {
namespace Operations {

using Model::Automaton::Voxel;

namespace {
const quint32 minimumStripWidth = 2;
}

Photolithography::Photolithography(Model::Automaton::TotalVolume *volume, quint32 film,
                                   const std::vector<bool> &bottomMask, quint32 bottomWidth,
                                   quint32 bottomHeight, const std::vector<bool> &topMask,
                                   quint32 topWidth, quint32 topHeight)
    : volume(volume), film(film), cellsX(volume ? volume->getCellsX() : 0),
      cellsY(volume ? volume->getCellsY() : 0), cellsZ(volume ? volume->getCellsZ() : 0),
      runner(cellsX, minimumStripWidth), cells(nullptr), nextCells(nullptr)
{
    buildExposure(bottomExposure, bottomMask, bottomWidth, bottomHeight);
    buildExposure(topExposure, topMask, topWidth, topHeight);
}

void Photolithography::buildExposure(std::vector<char> &map, const std::vector<bool> &mask,
                                     quint32 width, quint32 height) const
{
    const bool negative = film == negativeResist;
    map.assign(size_t(cellsX) * cellsY, 0);
    // A mask whose bit count disagrees with its size leaves every column developed.
    if (mask.size() != size_t(width) * height)
        return;
    for (quint32 x = 0; x < cellsX; ++x) {
        for (quint32 y = 0; y < cellsY; ++y) {
            const bool inside = x < width && y < height;
            const bool opaque = inside && mask[size_t(x) * height + y];
            const bool shielded = inside ? (negative ? !opaque : opaque) : negative;
            map[size_t(x) * cellsY + y] = shielded ? 1 : 0;
        }
    }
}

void Photolithography::initializeStrip(int strip)
{
    std::vector<quint64> &front = fronts[strip].value;
    front.clear();
    for (quint32 x = runner.getFirstX(strip); x < runner.getEndX(strip); ++x) {
        for (quint32 y = 0; y < cellsY; ++y) {
            const size_t column = size_t(x) * cellsY + y;
            const quint64 base = volume->getCellIndex(x, y, 0);
            for (quint32 z = 0; z < cellsZ; ++z) {
                const quint64 i = base + z;
                if (cells[i].material != film)
                    continue;
                // The outside of the volume does not count as empty.
                const bool fromTop =
                    z + 1 < cellsZ && cells[i + 1].material == 0 && !topExposure[column];
                const bool fromBelow =
                    z >= 1 && cells[i - 1].material == 0 && !bottomExposure[column];
                if (fromTop || fromBelow)
                    front.push_back(i);
            }
        }
    }
}

void Photolithography::developStrip(int strip)
{
    std::vector<quint64> &front = fronts[strip].value;
    std::vector<quint64> &next = nextFronts[strip].value;
    next.clear();
    const quint64 columnCells = cellsZ;
    for (const quint64 i : front) {
        if (cells[i].material != film)
            continue;
        nextCells[i].material = 0;
        const quint32 z = quint32(i % columnCells);
        const size_t column = size_t(i / columnCells);
        if (z + 1 < cellsZ && cells[i + 1].material == film && !bottomExposure[column])
            next.push_back(i + 1); // developed from below: goes on upwards
        if (z >= 1 && cells[i - 1].material == film && !topExposure[column])
            next.push_back(i - 1); // developed from above: goes on downwards
    }
    std::sort(next.begin(), next.end());
    next.erase(std::unique(next.begin(), next.end()), next.end());
    for (const quint64 i : front)
        cells[i].material = nextCells[i].material;
    front.swap(next);
}

bool Photolithography::run(QString *error)
{
    if (!volume) {
        if (error)
            *error = QStringLiteral("No cell volume for the photolithography.");
        return false;
    }
    cells = volume->lockCells();
    nextCells = volume->lockNextCells();
    bool ok = true;
    try {
        fronts.assign(size_t(runner.getStripCount()), StripSlot<std::vector<quint64>>());
        nextFronts.assign(size_t(runner.getStripCount()), StripSlot<std::vector<quint64>>());
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    if (ok)
        ok = runner.runPhase([this](int strip) { initializeStrip(strip); });
    Util::Progress::reportTotal(cellsZ);
    bool canceled = false;
    for (quint32 pass = 0; ok && pass < cellsZ; ++pass) {
        bool anyFront = false;
        for (const StripSlot<std::vector<quint64>> &front : fronts)
            anyFront = anyFront || !front.value.empty();
        if (!anyFront)
            break; // nothing left to develop: the remaining passes would change nothing
        canceled = Util::Progress::stopRequested();
        ok = !canceled && runner.runPhase([this](int strip) { developStrip(strip); });
        if (ok)
            Util::Progress::reportDone(pass + 1);
    }
    volume->releaseNextCells();
    volume->releaseCells();
    fronts.clear();
    nextFronts.clear();
    if (!ok && error)
        *error = canceled ? QStringLiteral("canceled") : QStringLiteral("out of memory");
    return ok;
}

} // namespace Operations
} // namespace Core
