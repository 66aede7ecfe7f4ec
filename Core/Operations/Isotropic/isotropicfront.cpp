#include "Core/Operations/Isotropic/isotropicfront.h"

#include "Model/Automaton/totalvolume.h"

#include <cmath>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {

// Fronts split into strips at least this wide; narrower volumes run on the calling thread.
const quint32 minimumStripWidth = 2;

quint32 countOf(const TotalVolume *volume, quint32 (TotalVolume::*get)() const)
{
    return volume ? (volume->*get)() : 0;
}

float sizeOf(const TotalVolume *volume, float (TotalVolume::*get)() const)
{
    return volume ? (volume->*get)() : 1.0f;
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

IsotropicFront::IsotropicFront(TotalVolume *volume, quint32 material, float thickness, Mode mode)
    : volume(volume), material(material), thickness(thickness), mode(mode),
      runner(countOf(volume, &TotalVolume::getCellsX), minimumStripWidth),
      neighborhood(countOf(volume, &TotalVolume::getCellsX),
                   countOf(volume, &TotalVolume::getCellsY),
                   countOf(volume, &TotalVolume::getCellsZ)),
      distanceFront(sizeOf(volume, &TotalVolume::getCellSizeX),
                    sizeOf(volume, &TotalVolume::getCellSizeY),
                    sizeOf(volume, &TotalVolume::getCellSizeZ)),
      passes(DistanceFront::passCount(thickness, sizeOf(volume, &TotalVolume::getCellSizeX),
                                      sizeOf(volume, &TotalVolume::getCellSizeY),
                                      sizeOf(volume, &TotalVolume::getCellSizeZ))),
      passesRun(0), cells(nullptr), nextCells(nullptr)
{}

bool IsotropicFront::run(QString *error)
{
    passesRun = 0;
    const QString process = mode == Deposition ? QStringLiteral("isotropic deposition")
                                               : QStringLiteral("isotropic etching");
    if (!volume) {
        setError(error, QStringLiteral("No cell volume for the %1.").arg(process));
        return false;
    }
    if (!std::isfinite(thickness) || thickness < 0.0f) {
        setError(error,
                 mode == Deposition
                     ? QStringLiteral("The film thickness must be a finite number of at least 0.")
                     : QStringLiteral("The etch depth must be a finite number of at least 0."));
        return false;
    }
    if (!DistanceFront::validCellSizes(volume->getCellSizeX(), volume->getCellSizeY(),
                                       volume->getCellSizeZ())) {
        setError(error, QStringLiteral("The cell volume's cell sizes must be above 0."));
        return false;
    }

    cells = volume->lockCells();
    nextCells = volume->lockNextCells();
    bool ok = false;
    try {
        StripFronts fronts(runner, quint64(neighborhood.getCellsY()) * neighborhood.getCellsZ());
        ok = mode == Deposition ? runPasses<Deposition>(fronts) : runPasses<Etching>(fronts);
    } catch (...) {
        ok = false;
    }
    volume->releaseCells();
    volume->releaseNextCells();
    cells = nullptr;
    nextCells = nullptr;

    if (!ok)
        setError(error, passesRun == 0
                            ? QStringLiteral("Not enough memory for the %1; the cell volume is "
                                             "unchanged.")
                                  .arg(process)
                            : QStringLiteral("Not enough memory to finish the %1; it stopped "
                                             "after %2 of %3 passes.")
                                  .arg(process)
                                  .arg(passesRun)
                                  .arg(passes));
    return ok;
}

template <IsotropicFront::Mode M> bool IsotropicFront::runPasses(StripFronts &fronts)
{
    if (!fronts.runFiling(
            [this](StripFronts::Strip &strip, int) { runPartialInitialization<M>(strip); }))
        return false;
    const StripFronts::CellWork copyBack = [this](const StripFronts::CellList &front, int) {
        for (CellNeighborhood::CellIndex i : front)
            cells[i] = nextCells[i];
    };
    const StripFronts::CellWork rollBack = [this](const StripFronts::CellList &front, int) {
        for (CellNeighborhood::CellIndex i : front)
            nextCells[i] = cells[i];
    };
    const StripFronts::FrontWork step = [this](StripFronts::Strip &strip, int) {
        runPartialStep<M>(strip);
    };
    // Once every front is empty no later pass can change a cell.
    while (passesRun < passes && !fronts.isEmpty()) {
        if (!fronts.runPass(step, copyBack, rollBack))
            return false;
        ++passesRun;
    }
    return true;
}

template <IsotropicFront::Mode M>
void IsotropicFront::runPartialInitialization(StripFronts::Strip &strip)
{
    const quint32 cellsY = neighborhood.getCellsY();
    const quint32 cellsZ = neighborhood.getCellsZ();
    const float t = thickness;
    for (quint32 x = strip.getFirstX(); x < strip.getEndX(); ++x)
        for (quint32 y = 0; y < cellsY; ++y) {
            CellNeighborhood::CellIndex i = neighborhood.index(x, y, 0);
            for (quint32 z = 0; z < cellsZ; ++z, ++i) {
                Voxel &cell = cells[i];
                Voxel &next = nextCells[i];
                // Sources are the filled cells of a deposition, the empty cells of an etch.
                const bool source = M == Deposition ? cell.material != 0 : cell.material == 0;
                if (source) {
                    cell.fixed = next.fixed = true;
                    cell.setDistance(0.0f, 0.0f, 0.0f);
                    next.setDistance(0.0f, 0.0f, 0.0f);
                    continue;
                }
                cell.fixed = next.fixed = false;
                cell.setDistance(t, t, t);
                next.setDistance(t, t, t);
                // Only material is read across strips here; other strips write fixed and
                // distance of their own cells only.
                const bool touchesSource = neighborhood.anyMooreNeighbor(
                    i, x, y, z, [this](CellNeighborhood::CellIndex j) {
                        return M == Deposition ? cells[j].material != 0 : cells[j].material == 0;
                    });
                if (touchesSource)
                    strip.file(i, x);
            }
        }
}

template <IsotropicFront::Mode M> void IsotropicFront::runPartialStep(StripFronts::Strip &strip)
{
    const float limit = thickness * thickness;
    for (CellNeighborhood::CellIndex i : strip.getFront()) {
        const Voxel &cell = cells[i];
        Voxel updated = cell;
        // Other materials keep their distance and never pass the etch front on: they mask it.
        const bool changeable =
            !cell.fixed && (M == Deposition || cell.material == 0 || cell.material == material);
        float candidate[3] = {0.0f, 0.0f, 0.0f};
        quint32 x = 0, y = 0, z = 0;
        bool found = false;
        if (changeable) {
            neighborhood.coordinates(i, x, y, z);
            found = distanceFront.relax(cells, neighborhood, i, x, y, z, limit, candidate);
        }
        if (found) {
            if (M == Deposition && cell.material == 0)
                updated.material = material;
            if (M == Etching && cell.material == material)
                updated.material = 0;
            updated.fixed = false;
            updated.setDistance(candidate[0], candidate[1], candidate[2]);
        }
        // Every front cell is written, so the copy-back never brings stale fields over.
        nextCells[i] = updated;
        if (found)
            addFrontNeighbors<M>(strip, i, x, y, z);
    }
}

template <IsotropicFront::Mode M>
void IsotropicFront::addFrontNeighbors(StripFronts::Strip &strip, CellNeighborhood::CellIndex i,
                                       quint32 x, quint32 y, quint32 z)
{
    neighborhood.forEachMooreNeighbor(i, x, y, z,
                                      [this, &strip](CellNeighborhood::CellIndex j, quint32 nx) {
                                          const bool filled = cells[j].material != 0;
                                          if (M == Deposition ? !filled : filled)
                                              strip.file(j, nx);
                                      });
}

} // namespace Operations
} // namespace Core
