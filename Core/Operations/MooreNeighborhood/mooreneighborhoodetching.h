#ifndef CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOOD_MOORENEIGHBORHOODETCHING_H
#define CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOOD_MOORENEIGHBORHOODETCHING_H

#include "Core/Operations/MooreNeighborhood/moorefront.h"

namespace Core {
namespace Operations {

/// Removes a whole number of cell layers of one material, each layer every cell of it that
/// touches empty space through a face, an edge or a corner. Other materials stop the etch.
class MooreNeighborhoodEtching : private MooreFront
{
public:
    /// steps is the etch depth in cells. volume is not owned. The strip count is the global
    /// thread pool's maximum thread count at this moment.
    MooreNeighborhoodEtching(Model::Automaton::TotalVolume *volume, quint32 material, qint32 steps);

    /// Runs the whole etch, holding both cell arrays until it returns. Returns false with a
    /// reason when there is no volume, steps is negative, or memory ran out part-way.
    bool runEtching(QString *error = nullptr) { return run(error); }

    using MooreFront::getStepsRun;
    using MooreFront::getStripCount;
};

} // namespace Operations
} // namespace Core

#endif
