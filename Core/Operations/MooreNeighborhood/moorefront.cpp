#include "Core/Operations/MooreNeighborhood/moorefront.h"

#include "Model/Automaton/totalvolume.h"

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {

const quint32 minimumStripWidth = 2;

quint32 countOf(const TotalVolume *volume, quint32 (TotalVolume::*get)() const)
{
    return volume ? (volume->*get)() : 0;
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

MooreFront::MooreFront(TotalVolume *volume, quint32 material, qint32 steps, Mode mode)
    : volume(volume), material(material), steps(steps), mode(mode),
      runner(countOf(volume, &TotalVolume::getCellsX), minimumStripWidth),
      neighborhood(countOf(volume, &TotalVolume::getCellsX),
                   countOf(volume, &TotalVolume::getCellsY),
                   countOf(volume, &TotalVolume::getCellsZ)),
      stepsRun(0), cells(nullptr), nextCells(nullptr)
{}

bool MooreFront::run(QString *error)
{
    stepsRun = 0;
    const QString process =
        mode == Deposition ? QStringLiteral("Moore deposition") : QStringLiteral("Moore etching");
    if (!volume) {
        setError(error, QStringLiteral("No cell volume for the %1.").arg(process));
        return false;
    }
    if (steps < 0) {
        setError(error,
                 QStringLiteral("The number of cells for the %1 must be at least 0.").arg(process));
        return false;
    }
    cells = volume->lockCells();
    nextCells = volume->lockNextCells();
    bool ok = false;
    try {
        StripFronts fronts(runner, quint64(neighborhood.getCellsY()) * neighborhood.getCellsZ());
        ok = mode == Deposition ? runSteps<Deposition>(fronts) : runSteps<Etching>(fronts);
    } catch (...) {
        ok = false;
    }
    volume->releaseCells();
    volume->releaseNextCells();
    cells = nullptr;
    nextCells = nullptr;
    if (!ok)
        setError(error, stepsRun == 0
                            ? QStringLiteral("Not enough memory for the %1; the cell volume is "
                                             "unchanged.")
                                  .arg(process)
                            : QStringLiteral("Not enough memory to finish the %1; it stopped "
                                             "after %2 of %3 steps.")
                                  .arg(process)
                                  .arg(stepsRun)
                                  .arg(steps));
    return ok;
}

template <MooreFront::Mode M> bool MooreFront::runSteps(StripFronts &fronts)
{
    if (!fronts.runFiling(
            [this](StripFronts::Strip &strip, int) { runPartialInitialization<M>(strip); }))
        return false;
    const StripFronts::CellWork copyBack = [this](const StripFronts::CellList &front, int) {
        for (CellNeighborhood::CellIndex i : front)
            cells[i].material = nextCells[i].material;
    };
    const StripFronts::CellWork rollBack = [this](const StripFronts::CellList &front, int) {
        for (CellNeighborhood::CellIndex i : front)
            nextCells[i].material = cells[i].material;
    };
    const StripFronts::FrontWork step = [this](StripFronts::Strip &strip, int) {
        runPartialStep<M>(strip);
    };
    // Once every front is empty no later step can change a cell.
    while (stepsRun < steps && !fronts.isEmpty()) {
        if (!fronts.runPass(step, copyBack, rollBack))
            return false;
        ++stepsRun;
    }
    return true;
}

template <MooreFront::Mode M> void MooreFront::runPartialInitialization(StripFronts::Strip &strip)
{
    const quint32 cellsY = neighborhood.getCellsY();
    const quint32 cellsZ = neighborhood.getCellsZ();
    for (quint32 x = strip.getFirstX(); x < strip.getEndX(); ++x)
        for (quint32 y = 0; y < cellsY; ++y) {
            CellNeighborhood::CellIndex i = neighborhood.index(x, y, 0);
            for (quint32 z = 0; z < cellsZ; ++z, ++i) {
                const quint32 own = cells[i].material;
                if (M == Deposition ? own != 0 : own != material)
                    continue;
                const bool touches = neighborhood.anyMooreNeighbor(
                    i, x, y, z, [this](CellNeighborhood::CellIndex j) {
                        return M == Deposition ? cells[j].material != 0 : cells[j].material == 0;
                    });
                if (touches)
                    strip.file(i, x);
            }
        }
}

template <MooreFront::Mode M> void MooreFront::runPartialStep(StripFronts::Strip &strip)
{
    for (CellNeighborhood::CellIndex i : strip.getFront()) {
        // A cell changed by the last step is filed again by its neighbours in that step; all it
        // could pass on now is already in this front.
        if (M == Deposition ? cells[i].material != 0 : cells[i].material != material)
            continue;
        nextCells[i].material = M == Deposition ? material : 0;
        quint32 x, y, z;
        neighborhood.coordinates(i, x, y, z);
        neighborhood.forEachMooreNeighbor(
            i, x, y, z, [this, &strip](CellNeighborhood::CellIndex j, quint32 nx) {
                const quint32 other = cells[j].material;
                if (M == Deposition ? other == 0 : other == material)
                    strip.file(j, nx);
            });
    }
}

} // namespace Operations
} // namespace Core
