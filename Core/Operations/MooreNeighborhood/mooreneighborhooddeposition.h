#ifndef CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOOD_MOORENEIGHBORHOODDEPOSITION_H
#define CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOOD_MOORENEIGHBORHOODDEPOSITION_H

#include "Core/Operations/MooreNeighborhood/moorefront.h"

namespace Core {
namespace Operations {

/// Grows a film a whole number of cell layers thick, each layer everything that touches the
/// current surface through a face, an edge or a corner: films come out with square edges and
/// corners (chessboard distance).
class MooreNeighborhoodDeposition : private MooreFront
{
public:
    /// steps is the film thickness in cells. volume is not owned. The strip count is the global
    /// thread pool's maximum thread count at this moment.
    MooreNeighborhoodDeposition(Model::Automaton::TotalVolume *volume, quint32 material,
                                qint32 steps);

    /// Runs the whole deposition, holding both cell arrays until it returns. Returns false with
    /// a reason when there is no volume, steps is negative, or memory ran out part-way.
    bool runDeposition(QString *error = nullptr);

    using MooreFront::getStepsRun;
    using MooreFront::getStripCount;
};

} // namespace Operations
} // namespace Core

#endif
