#ifndef CELVANE_CORE_OPERATIONS_ISOTROPIC_ISOTROPICFILMDEPOSITION_H
#define CELVANE_CORE_OPERATIONS_ISOTROPIC_ISOTROPICFILMDEPOSITION_H

#include "Core/Operations/Isotropic/isotropicfront.h"

namespace Core {
namespace Operations {

/// Grows a conformal film of one material on every exposed surface of a cell volume: every
/// empty cell within the thickness of a filled cell, reached through empty cells, takes the
/// material. Distances are Euclidean, so convex edges and corners come out rounded.
class IsotropicFilmDeposition : private IsotropicFront
{
public:
    /// thickness is in the world units of the cell sizes. volume is not owned. The strip count
    /// is the global thread pool's maximum thread count at this moment.
    IsotropicFilmDeposition(Model::Automaton::TotalVolume *volume, quint32 material,
                            float thickness);

    /// Runs the whole deposition, holding both cell arrays of the volume until it returns.
    /// Returns false with a reason when nothing could be done (no volume, a thickness below 0
    /// or not a number, unusable cell sizes) or when memory ran out part-way.
    bool runDeposition(QString *error = nullptr) { return run(error); }

    using IsotropicFront::getPassCount;
    using IsotropicFront::getPassesRun;
    using IsotropicFront::getStripCount;
};

} // namespace Operations
} // namespace Core

#endif
