#ifndef CELVANE_CORE_OPERATIONS_DOPING_SIMPLEDOPING_H
#define CELVANE_CORE_OPERATIONS_DOPING_SIMPLEDOPING_H

#include "Core/Operations/distancefrontrun.h"
#include "Core/Operations/materialset.h"

#include <QString>
#include <QtGlobal>

namespace Core {
namespace Operations {

/// Doping by diffusion from the surface: every dopable cell within the depth of empty space,
/// reached through dopable cells, becomes the doped material. Cells of other materials keep
/// theirs and mask the cells behind them.
class SimpleDoping
{
public:
    /// The dopable materials are the compatible materials of the process "Simple Doping" in the
    /// process catalogue. depth is in the world units of the cell sizes. volume is not owned.
    SimpleDoping(Model::Automaton::TotalVolume *volume, quint32 dopedMaterial, float depth);
    /// The same with an explicit set of dopable materials.
    SimpleDoping(Model::Automaton::TotalVolume *volume, quint32 dopedMaterial, float depth,
                 const MaterialSet &dopable);

    /// Runs the whole doping, holding both cell arrays of the volume until it returns. Returns
    /// false with a reason when nothing could be done (no volume, a depth below 0 or not a
    /// number, unusable cell sizes) or when memory ran out part-way.
    bool runDoping(QString *error = nullptr);

    quint64 getPassCount() const { return passes; }
    quint64 getPassesRun() const { return front.getPassesRun(); }
    int getStripCount() const { return front.getStripCount(); }
    const MaterialSet &getDopable() const { return dopable; }

private:
    quint32 dopedMaterial;
    float depth;
    MaterialSet dopable;
    DistanceFrontRun front;
    quint64 passes;
};

} // namespace Operations
} // namespace Core

#endif
