#include "Core/Operations/columnworker.h"

#include "Model/Automaton/totalvolume.h"

using Model::Automaton::TotalVolume;

namespace Core {
namespace Operations {

ColumnWorker::ColumnWorker(TotalVolume *volume, quint32 minimumStripWidth)
    : volume(volume), cellsX(volume ? volume->getCellsX() : 0),
      cellsY(volume ? volume->getCellsY() : 0), cellsZ(volume ? volume->getCellsZ() : 0),
      runner(cellsX, minimumStripWidth), cells(nullptr), nextCells(nullptr)
{}

bool ColumnWorker::checkVolume(const QString &missing, QString *error) const
{
    if (volume)
        return true;
    if (error)
        *error = missing;
    return false;
}

void ColumnWorker::lockArrays()
{
    cells = volume->lockCells();
    nextCells = volume->lockNextCells();
}

void ColumnWorker::releaseArrays()
{
    volume->releaseCells();
    volume->releaseNextCells();
    cells = nullptr;
    nextCells = nullptr;
}

} // namespace Operations
} // namespace Core
