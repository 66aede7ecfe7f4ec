#include "Core/Operations/Glue/gluesubstrate.h"

#include "Util/taskbatch.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QThreadPool>

#include <algorithm>
#include <limits>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {

/// The cells one task copies: a slab of the base and a slab of the top, both along x.
struct GlueCopy
{
    const Voxel *baseCells;
    const Voxel *topCells;
    Voxel *cells;
    Voxel *nextCells;
    quint32 baseY, baseZ;
    quint32 topX, topY, topZ;
    quint32 sizeY, sizeZ;
    quint32 baseTop, topMin, topMax, topHeight;
    quint32 displacementX, displacementY;
    bool invertTop;

    quint64 resultColumn(quint32 x, quint32 y) const { return (quint64(x) * sizeY + y) * sizeZ; }

    void copyBase(quint32 firstX, quint32 endX) const
    {
        for (quint32 x = firstX; x < endX; ++x) {
            for (quint32 y = 0; y < baseY; ++y) {
                const Voxel *from = baseCells + (quint64(x) * baseY + y) * baseZ;
                const quint64 to = resultColumn(x, y);
                for (quint32 z = 0; z < baseTop; ++z) {
                    cells[to + z].material = from[z].material;
                    nextCells[to + z].material = from[z].material;
                }
            }
        }
    }

    void copyTop(quint32 firstX, quint32 endX) const
    {
        if (topHeight == 0)
            return;
        for (quint32 x = firstX; x < endX; ++x) {
            const quint32 toX = displacementX + (invertTop ? topX - 1 - x : x);
            for (quint32 y = 0; y < topY; ++y) {
                const Voxel *from = topCells + (quint64(x) * topY + y) * topZ;
                const quint64 to = resultColumn(toX, displacementY + y);
                for (quint32 z = topMin; z <= topMax; ++z) {
                    // Turned over, the top's highest layer rests on the base.
                    const quint64 i =
                        to + (invertTop ? baseTop + (topMax - z) : baseTop + (z - topMin));
                    cells[i].material = from[z].material;
                    nextCells[i].material = from[z].material;
                }
            }
        }
    }
};

quint32 sliceEnd(int task, int tasks, quint32 count)
{
    return task + 1 == tasks ? count : quint32(task + 1) * (count / quint32(tasks));
}

} // namespace

GlueSubstrate::GlueSubstrate(TotalVolume *base, TotalVolume *top)
    : base(base), top(top), sizeX(0), sizeY(0), sizeZ(0), displacementX(0), displacementY(0),
      invertTop(false), taskCount(0)
{}

void GlueSubstrate::setSize(quint32 x, quint32 y, quint32 z)
{
    sizeX = x;
    sizeY = y;
    sizeZ = z;
}

void GlueSubstrate::setDisplacement(quint32 x, quint32 y)
{
    displacementX = x;
    displacementY = y;
}

bool GlueSubstrate::checkInputs(QString *error) const
{
    if (!base || !top) {
        if (error)
            *error = QStringLiteral("Two cell volumes are needed to glue.");
        return false;
    }
    if (base == top) {
        if (error)
            *error = QStringLiteral("A cell volume cannot be glued onto itself.");
        return false;
    }
    return true;
}

GlueSubstrate::Extent GlueSubstrate::measureLocked(const TotalVolume &base, const Voxel *baseCells,
                                                   const TotalVolume &top, const Voxel *topCells)
{
    Extent e;
    // Columns are scanned from their far end only as far as the best layer found so far, so a
    // flat substrate costs about one pass over its top layer.
    const quint32 bz = base.getCellsZ();
    quint32 baseTop = 0;
    for (quint64 column = 0; column < quint64(base.getCellsX()) * base.getCellsY(); ++column) {
        const Voxel *c = baseCells + column * bz;
        for (quint32 z = bz; z > baseTop; --z) {
            if (c[z - 1].material != 0) {
                baseTop = z;
                break;
            }
        }
    }
    // An empty base still gets one layer below the top.
    e.baseTop = std::max<quint32>(baseTop, 1);

    const quint32 tz = top.getCellsZ();
    quint32 lowest = tz;
    quint32 aboveHighest = 0;
    for (quint64 column = 0; column < quint64(top.getCellsX()) * top.getCellsY(); ++column) {
        const Voxel *c = topCells + column * tz;
        for (quint32 z = 0; z < lowest; ++z) {
            if (c[z].material != 0) {
                lowest = z;
                break;
            }
        }
        for (quint32 z = tz; z > aboveHighest; --z) {
            if (c[z - 1].material != 0) {
                aboveHighest = z;
                break;
            }
        }
    }
    if (aboveHighest > 0) {
        e.topMin = lowest;
        e.topMax = aboveHighest - 1;
        e.topHeight = aboveHighest - lowest;
    }
    e.minSizeX = std::max(base.getCellsX(), top.getCellsX());
    e.minSizeY = std::max(base.getCellsY(), top.getCellsY());
    e.minSizeZ = quint32(
        std::min<quint64>(quint64(e.baseTop) + e.topHeight, std::numeric_limits<quint32>::max()));
    e.maxDisplacementX = e.minSizeX - top.getCellsX();
    e.maxDisplacementY = e.minSizeY - top.getCellsY();
    return e;
}

bool GlueSubstrate::measure(Extent &extent, QString *error) const
{
    if (!checkInputs(error))
        return false;
    const Voxel *baseCells = base->lockCells();
    const Voxel *topCells = top->lockCells();
    extent = measureLocked(*base, baseCells, *top, topCells);
    top->releaseCells();
    base->releaseCells();
    return true;
}

TotalVolume::Ptr GlueSubstrate::run(QString *error)
{
    taskCount = 0;
    if (!checkInputs(error))
        return TotalVolume::Ptr();
    QElapsedTimer timer;
    timer.start();
    const Voxel *baseCells = base->lockCells();
    const Voxel *topCells = top->lockCells();
    const Extent e = measureLocked(*base, baseCells, *top, topCells);
    TotalVolume::Ptr result;
    const bool fits = quint64(sizeX) >= e.minSizeX && quint64(sizeY) >= e.minSizeY &&
                      sizeZ >= e.minSizeZ && quint64(displacementX) + top->getCellsX() <= sizeX &&
                      quint64(displacementY) + top->getCellsY() <= sizeY;
    if (!fits) {
        if (error)
            *error = QStringLiteral("A glued volume of %1 x %2 x %3 cells with the top displaced "
                                    "by (%4, %5) cannot hold both volumes: it needs at least "
                                    "%6 x %7 x %8 cells and a displacement of at most (%9, %10).")
                         .arg(sizeX)
                         .arg(sizeY)
                         .arg(sizeZ)
                         .arg(displacementX)
                         .arg(displacementY)
                         .arg(e.minSizeX)
                         .arg(e.minSizeY)
                         .arg(e.minSizeZ)
                         .arg(qint64(sizeX) - qint64(top->getCellsX()))
                         .arg(qint64(sizeY) - qint64(top->getCellsY()));
    } else {
        const float cellX = std::max(base->getCellSizeX(), top->getCellSizeX()),
                    cellY = std::max(base->getCellSizeY(), top->getCellSizeY()),
                    cellZ = std::max(base->getCellSizeZ(), top->getCellSizeZ());
        const Util::Vector3D at = base->getPosition();
        if (TotalVolume::checkExtent(sizeX, sizeY, sizeZ, cellX, cellY, cellZ, at, error))
            result =
                TotalVolume::createFilled(sizeX, sizeY, sizeZ, cellX, cellY, cellZ, at, 0, error);
    }
    if (result) {
        Voxel *cells = result->lockCells();
        Voxel *nextCells = result->lockNextCells();
        const GlueCopy copy{baseCells,
                            topCells,
                            cells,
                            nextCells,
                            base->getCellsY(),
                            base->getCellsZ(),
                            top->getCellsX(),
                            top->getCellsY(),
                            top->getCellsZ(),
                            sizeY,
                            sizeZ,
                            std::min(e.baseTop, base->getCellsZ()),
                            e.topMin,
                            e.topMax,
                            e.topHeight,
                            displacementX,
                            displacementY,
                            invertTop};
        // The base fills the layers below baseTop and the top those from baseTop up, so the
        // tasks never write the same cell.
        const quint32 bx = base->getCellsX();
        const quint32 tx = top->getCellsX();
        const int threads = std::max(1, QThreadPool::globalInstance()->maxThreadCount());
        if (bx / quint32(threads) < 2 || tx / quint32(threads) < 2) {
            taskCount = 1;
            copy.copyBase(0, bx);
            copy.copyTop(0, tx);
        } else {
            taskCount = threads;
            Util::TaskBatch::run(threads, [&](int i) {
                copy.copyBase(quint32(i) * (bx / quint32(threads)), sliceEnd(i, threads, bx));
                copy.copyTop(quint32(i) * (tx / quint32(threads)), sliceEnd(i, threads, tx));
            });
        }
        result->releaseNextCells();
        result->releaseCells();
    }
    top->releaseCells();
    base->releaseCells();
    qDebug().nospace() << "Glued " << sizeX << " x " << sizeY << " x " << sizeZ << " cells in "
                       << taskCount << " tasks; Elapsed time " << timer.elapsed();
    return result;
}

} // namespace Operations
} // namespace Core
