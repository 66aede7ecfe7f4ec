#include "Core/Operations/Planarization/planarization.h"

#include "Model/Automaton/totalvolume.h"

#include <QDebug>
#include <QElapsedTimer>

using Model::Automaton::TotalVolume;

namespace Core {
namespace Operations {

Planarization::Planarization(TotalVolume *volume, quint32 maximumHeight, quint32 minimumHeight)
    : ColumnWorker(volume, lightWorkStripWidth), minimumHeight(minimumHeight)
{
    this->maximumHeight = qMin(maximumHeight, cellsZ);
}

bool Planarization::runPlanarization(QString *error)
{
    if (!checkVolume(QStringLiteral("No cell volume for the planarization."), error))
        return false;
    qDebug().nospace() << "Threads " << runner.getThreadCount();
    qDebug().nospace() << "Cells per thread " << quint64(cellsZ) * cellsY * runner.getStripWidth();
    QElapsedTimer timer;
    timer.start();
    const quint32 below = qMin(minimumHeight, cellsZ);
    const bool whole = runColumns([this, below](quint64 column) {
        for (quint32 z = 0; z < below; ++z)
            cells[column + z].material = nextCells[column + z].material = 0;
        for (quint32 z = maximumHeight; z < cellsZ; ++z)
            cells[column + z].material = nextCells[column + z].material = 0;
    });
    qDebug().nospace() << "Elapsed time " << timer.elapsed();
    if (!whole && error)
        *error = QStringLiteral("The planarization was canceled.");
    return whole;
}

} // namespace Operations
} // namespace Core
