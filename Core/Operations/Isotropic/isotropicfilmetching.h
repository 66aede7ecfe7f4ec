#ifndef CELVANE_CORE_OPERATIONS_ISOTROPIC_ISOTROPICFILMETCHING_H
#define CELVANE_CORE_OPERATIONS_ISOTROPIC_ISOTROPICFILMETCHING_H

#include "Core/Operations/Isotropic/isotropicfront.h"

namespace Core {
namespace Operations {

/// Removes one material to a given depth from every place where it touches empty space: every
/// cell of that material within the depth of an empty cell, reached through cells of that
/// material or empty cells, becomes empty. Other materials mask the etch.
class IsotropicFilmEtching : private IsotropicFront
{
public:
    /// depth is in the world units of the cell sizes. volume is not owned. The strip count is
    /// the global thread pool's maximum thread count at this moment.
    IsotropicFilmEtching(Model::Automaton::TotalVolume *volume, quint32 material, float depth);

    /// Runs the whole etch, holding both cell arrays of the volume until it returns. Returns
    /// false with a reason when nothing could be done (no volume, a depth below 0 or not a
    /// number, unusable cell sizes) or when memory ran out part-way.
    bool runEtching(QString *error = nullptr) { return run(error); }

    using IsotropicFront::getPassCount;
    using IsotropicFront::getPassesRun;
    using IsotropicFront::getStripCount;
};

} // namespace Operations
} // namespace Core

#endif
