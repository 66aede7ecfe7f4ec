#include "Core/Operations/Doping/simpledoping.h"

#include "Core/Operations/Doping/dopingrules.h"
#include "Model/Automaton/totalvolume.h"

#include <cmath>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {

typedef CellNeighborhood::CellIndex CellIndex;

/// Sources are the empty cells; the front moves through dopable cells, filed among the 26
/// Moore neighbours.
struct SurfaceDopingRules : DopingRules
{
    using DopingRules::DopingRules;

    void initialize(DistanceFrontRun &run, StripFronts::Strip &strip, int)
    {
        const CellNeighborhood &nb = run.getNeighborhood();
        Voxel *cells = run.cells();
        Voxel *next = run.nextCells();
        const float d = distance;
        for (quint32 x = strip.getFirstX(); x < strip.getEndX(); ++x)
            for (quint32 y = 0; y < nb.getCellsY(); ++y) {
                CellIndex i = nb.index(x, y, 0);
                for (quint32 z = 0; z < nb.getCellsZ(); ++z, ++i) {
                    Voxel &cell = cells[i];
                    Voxel &nextCell = next[i];
                    if (cell.material == 0) {
                        cell.fixed = nextCell.fixed = true;
                        cell.setDistance(0.0f, 0.0f, 0.0f);
                        nextCell.setDistance(0.0f, 0.0f, 0.0f);
                        continue;
                    }
                    cell.setDistance(d, d, d);
                    nextCell.setDistance(d, d, d);
                    if (!dopable.contains(cell.material)) {
                        cell.fixed = nextCell.fixed = true; // it blocks
                        continue;
                    }
                    cell.fixed = nextCell.fixed = false;
                    // Only material is read across strips; it does not change in this pass.
                    if (nb.anyMooreNeighbor(
                            i, x, y, z, [cells](CellIndex j) { return cells[j].material == 0; }))
                        strip.file(i, x);
                }
            }
    }

    void fileNeighbors(DistanceFrontRun &run, StripFronts::Strip &strip, CellIndex i, quint32 x,
                       quint32 y, quint32 z)
    {
        const Voxel *cells = run.cells();
        run.getNeighborhood().forEachMooreNeighbor(i, x, y, z,
                                                   [this, cells, &strip](CellIndex j, quint32 nx) {
                                                       if (dopable.contains(cells[j].material))
                                                           strip.file(j, nx);
                                                   });
    }
};

} // namespace

SimpleDoping::SimpleDoping(TotalVolume *volume, quint32 dopedMaterial, float depth)
    : SimpleDoping(volume, dopedMaterial, depth,
                   MaterialSet::ofProcess(QStringLiteral("Simple Doping")))
{}

SimpleDoping::SimpleDoping(TotalVolume *volume, quint32 dopedMaterial, float depth,
                           const MaterialSet &dopable)
    : dopedMaterial(dopedMaterial), depth(depth), dopable(dopable), front(volume),
      passes(front.passCount(depth))
{}

bool SimpleDoping::runDoping(QString *error)
{
    if (!std::isfinite(depth) || depth < 0.0f) {
        if (error)
            *error = QStringLiteral("The doping depth must be a finite number of at least 0.");
        return false;
    }
    SurfaceDopingRules rules(dopable, dopedMaterial, depth);
    return front.run(rules, passes, QStringLiteral("doping"), error);
}

} // namespace Operations
} // namespace Core
