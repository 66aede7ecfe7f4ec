#include "Core/Operations/Planarization/planarization.h"

#include "Model/Automaton/totalvolume.h"

#include <QDebug>
#include <QElapsedTimer>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {
// Column work is light: narrower strips are not worth a thread.
const quint32 minimumStripWidth = 3;
} // namespace

Planarization::Planarization(TotalVolume *volume, quint32 maximumHeight, quint32 minimumHeight)
    : volume(volume), minimumHeight(minimumHeight), cellsX(volume ? volume->getCellsX() : 0),
      cellsY(volume ? volume->getCellsY() : 0), cellsZ(volume ? volume->getCellsZ() : 0),
      runner(cellsX, minimumStripWidth), cells(nullptr), nextCells(nullptr)
{
    this->maximumHeight = qMin(maximumHeight, cellsZ);
}

bool Planarization::runPlanarization(QString *error)
{
    if (!volume) {
        if (error)
            *error = QStringLiteral("No cell volume for the planarization.");
        return false;
    }
    cells = volume->lockCells();
    nextCells = volume->lockNextCells();
    qDebug().nospace() << "Threads " << runner.getThreadCount();
    qDebug().nospace() << "Cells per thread " << quint64(cellsZ) * cellsY * runner.getStripWidth();
    QElapsedTimer timer;
    timer.start();
    // Column work allocates nothing, so no phase can fail.
    runner.runPhase([this](int strip) { runStrip(strip); });
    qDebug().nospace() << "Elapsed time " << timer.elapsed();
    volume->releaseCells();
    volume->releaseNextCells();
    cells = nullptr;
    nextCells = nullptr;
    return true;
}

void Planarization::runStrip(int strip)
{
    const quint32 below = qMin(minimumHeight, cellsZ);
    for (quint32 x = runner.getFirstX(strip); x < runner.getEndX(strip); ++x)
        for (quint32 y = 0; y < cellsY; ++y) {
            const quint64 column = (quint64(x) * cellsY + y) * cellsZ;
            for (quint32 z = 0; z < below; ++z)
                cells[column + z].material = nextCells[column + z].material = 0;
            for (quint32 z = maximumHeight; z < cellsZ; ++z)
                cells[column + z].material = nextCells[column + z].material = 0;
        }
}

} // namespace Operations
} // namespace Core
