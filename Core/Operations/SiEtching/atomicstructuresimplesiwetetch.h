#ifndef CELVANE_CORE_OPERATIONS_SIETCHING_ATOMICSTRUCTURESIMPLESIWETETCH_H
#define CELVANE_CORE_OPERATIONS_SIETCHING_ATOMICSTRUCTURESIMPLESIWETETCH_H

#include "Core/Operations/SiEtching/siwetetchengine.h"

namespace Core {
namespace Operations {

/// Anisotropic wet etching of crystalline silicon by bond counting, as KOH etches a (100)
/// wafer: a surface atom with all four bonds stays, one with three stays when its neighbours
/// hold at least nine further bonds (a {111} face), any other goes. {111} planes so become
/// the sidewalls, at 54.7 degrees to the surface.
class AtomicStructureSimpleSiWetEtch : public SiWetEtchEngine
{
public:
    /// volume is not owned and may be null; depth in cell units (4 steps per unit).
    AtomicStructureSimpleSiWetEtch(Model::Automaton::TotalVolume *volume, double depth);

    /// Runs the whole etch on the volume's silicon crystal (built first when the volume has
    /// none that fits it), holding both cell arrays until it returns. False with a reason when
    /// there is no volume or memory ran out.
    bool runEtching(QString *error = nullptr);

protected:
    void etchSurface(Slab &slab, int thread) override;
};

} // namespace Operations
} // namespace Core

#endif
