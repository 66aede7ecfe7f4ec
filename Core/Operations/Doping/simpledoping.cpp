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

/// Sources are the empty cells; the first front is the dopable cells among their 26 Moore
/// neighbours, and the front then moves on through dopable cells.
struct SurfaceDopingRules : DopingRules
{
    using DopingRules::DopingRules;

    void initialize(DistanceFrontRun &run, StripFronts::Strip &strip, int)
    {
        run.initializeStripTouchingSources(
            strip, distance, [this](const Voxel &cell, CellIndex, quint32, quint32, quint32) {
                if (cell.material == 0)
                    return DistanceFrontRun::Source;
                return dopable.contains(cell.material) ? DistanceFrontRun::Free
                                                       : DistanceFrontRun::Blocking;
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
