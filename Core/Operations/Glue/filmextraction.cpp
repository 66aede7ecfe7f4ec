#include "Core/Operations/Glue/filmextraction.h"

#include <QDebug>
#include <QElapsedTimer>

#include <algorithm>
#include <deque>
#include <new>
#include <vector>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

FilmExtraction::FilmExtraction(TotalVolume *source, quint32 filmMaterial, bool invert)
    : source(source), filmMaterial(filmMaterial), invert(invert), filmCells(0)
{}

TotalVolume::Ptr FilmExtraction::run(QString *error)
{
    filmCells = 0;
    if (!source) {
        if (error)
            *error = QStringLiteral("No cell volume to extract a film from.");
        return TotalVolume::Ptr();
    }
    QElapsedTimer timer;
    timer.start();
    const quint32 cx = source->getCellsX();
    const quint32 cy = source->getCellsY();
    const quint32 cz = source->getCellsZ();
    const quint64 count = source->getCellCount();
    TotalVolume::Ptr result;
    // One bit per cell marks the cells already queued.
    if (!TotalVolume::checkAllocation(cx, cy, cz, error, count / 8 + 1))
        return result;
    const Voxel *cells = source->lockCells();
    result = TotalVolume::createFilled(cx, cy, cz, source->getCellSizeX(), source->getCellSizeY(),
                                       source->getCellSizeZ(), source->getPosition(), 0, error);
    if (result) {
        Voxel *out = result->lockCells();
        Voxel *nextOut = result->lockNextCells();
        try {
            quint64 seed = 0;
            while (seed < count && cells[seed].material != filmMaterial)
                ++seed;
            if (seed < count) {
                std::vector<bool> queued(std::size_t(count), false);
                std::deque<quint64> queue;
                queue.push_back(seed);
                queued[std::size_t(seed)] = true;
                quint32 lowest = cz;
                quint32 highest = 0;
                const quint64 strideX = quint64(cy) * cz;
                // A cell is queued once: marking on entry keeps the queue no longer than the
                // film. The cells reached, and so the result, are those of the breadth-first
                // walk that marks on leaving.
                auto visit = [&](quint64 next) {
                    if (!queued[std::size_t(next)] && cells[next].material == filmMaterial) {
                        queued[std::size_t(next)] = true;
                        queue.push_back(next);
                    }
                };
                while (!queue.empty()) {
                    const quint64 index = queue.front();
                    queue.pop_front();
                    ++filmCells;
                    quint32 x, y, z;
                    source->getCellCoordinates(index, x, y, z);
                    const quint32 toY = invert ? cy - 1 - y : y;
                    const quint32 toZ = invert ? cz - 1 - z : z;
                    const quint64 to = result->getCellIndex(x, toY, toZ);
                    out[to].material = filmMaterial;
                    nextOut[to].material = filmMaterial;
                    lowest = std::min(lowest, toZ);
                    highest = std::max(highest, toZ);
                    if (x > 0)
                        visit(index - strideX);
                    if (x + 1 < cx)
                        visit(index + strideX);
                    if (y > 0)
                        visit(index - cz);
                    if (y + 1 < cy)
                        visit(index + cz);
                    if (z > 0)
                        visit(index - 1);
                    if (z + 1 < cz)
                        visit(index + 1);
                }
                if (lowest > 0) {
                    // Rest the film on the bottom layer, every column by the same distance.
                    for (quint64 column = 0; column < quint64(cx) * cy; ++column) {
                        Voxel *a = out + column * cz;
                        Voxel *b = nextOut + column * cz;
                        for (quint32 z = lowest; z <= highest; ++z) {
                            a[z - lowest].material = a[z].material;
                            b[z - lowest].material = b[z].material;
                            a[z].material = 0;
                            b[z].material = 0;
                        }
                    }
                }
            }
        } catch (const std::bad_alloc &) {
            result->releaseNextCells();
            result->releaseCells();
            result.reset();
            if (error)
                *error = QStringLiteral("Not enough memory to extract the film.");
        }
        if (result) {
            result->releaseNextCells();
            result->releaseCells();
        }
    }
    source->releaseCells();
    qDebug().nospace() << "Extracted " << filmCells << " cells; Elapsed time " << timer.elapsed();
    return result;
}

} // namespace Operations
} // namespace Core
