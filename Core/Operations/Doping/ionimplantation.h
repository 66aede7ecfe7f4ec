#ifndef CELVANE_CORE_OPERATIONS_DOPING_IONIMPLANTATION_H
#define CELVANE_CORE_OPERATIONS_DOPING_IONIMPLANTATION_H

#include "Core/Operations/distancefrontrun.h"
#include "Core/Operations/materialset.h"

#include <QString>
#include <QtGlobal>

namespace Core {
namespace Operations {

/// Ion implantation: in every column the dopable cell at the implantation depth below the
/// column's top filled cell becomes the doped material, and the doped layer then spreads by the
/// annealing distance through dopable cells.
class IonImplantation
{
public:
    /// The dopable materials are the compatible materials of the process "Simple Doping" in the
    /// process catalogue. Depth and distance are in the world units of the cell sizes; a cell's
    /// depth is counted from the top face of its column's top filled cell to its own bottom
    /// face. volume is not owned.
    IonImplantation(Model::Automaton::TotalVolume *volume, quint32 dopedMaterial,
                    float implantationDepth, float annealingDistance);
    /// The same with an explicit set of dopable materials.
    IonImplantation(Model::Automaton::TotalVolume *volume, quint32 dopedMaterial,
                    float implantationDepth, float annealingDistance, const MaterialSet &dopable);

    /// Runs the implantation and the annealing, holding both cell arrays of the volume until
    /// it returns. Returns false with a reason when nothing could be done (no volume, a depth or
    /// distance below 0 or not a number, unusable cell sizes) or when memory ran out part-way.
    bool runImplantation(QString *error = nullptr);

    quint64 getPassCount() const { return passes; }
    quint64 getPassesRun() const { return front.getPassesRun(); }
    int getStripCount() const { return front.getStripCount(); }

private:
    quint32 dopedMaterial;
    float implantationDepth;
    float annealingDistance;
    MaterialSet dopable;
    DistanceFrontRun front;
    quint64 passes;
};

} // namespace Operations
} // namespace Core

#endif
