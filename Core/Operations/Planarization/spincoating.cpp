#include "Core/Operations/Planarization/spincoating.h"

#include "Model/Automaton/totalvolume.h"

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {
// Column work is light: narrower strips are not worth a thread.
const quint32 minimumStripWidth = 3;
} // namespace

SpinCoating::SpinCoating(TotalVolume *volume, quint32 material, quint32 height)
    : volume(volume), material(material), cellsX(volume ? volume->getCellsX() : 0),
      cellsY(volume ? volume->getCellsY() : 0), cellsZ(volume ? volume->getCellsZ() : 0),
      runner(cellsX, minimumStripWidth), cells(nullptr), nextCells(nullptr)
{
    this->height = qMin(height, cellsZ);
}

bool SpinCoating::runSpinCoating(QString *error)
{
    if (!volume) {
        if (error)
            *error = QStringLiteral("No cell volume to pour material into.");
        return false;
    }
    cells = volume->lockCells();
    nextCells = volume->lockNextCells();
    // Column work allocates nothing, so no phase can fail.
    runner.runPhase([this](int strip) { runStrip(strip); });
    volume->releaseCells();
    volume->releaseNextCells();
    cells = nullptr;
    nextCells = nullptr;
    return true;
}

void SpinCoating::runStrip(int strip)
{
    for (quint32 x = runner.getFirstX(strip); x < runner.getEndX(strip); ++x)
        for (quint32 y = 0; y < cellsY; ++y) {
            const quint64 column = (quint64(x) * cellsY + y) * cellsZ;
            for (quint32 z = 0; z < height; ++z)
                if (cells[column + z].material == 0)
                    cells[column + z].material = nextCells[column + z].material = material;
        }
}

} // namespace Operations
} // namespace Core
