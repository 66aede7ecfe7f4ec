#ifndef CELVANE_CORE_OPERATIONS_ELECTRODEPOSITION_ELECTRODEPOSITION_H
#define CELVANE_CORE_OPERATIONS_ELECTRODEPOSITION_ELECTRODEPOSITION_H

#include "Core/Operations/Isotropic/isotropicfront.h"

namespace Core {
namespace Operations {

/// Electroplating: grows a film only from the cells of one conducting material. Every empty
/// cell within the thickness of the conductor, reached through empty cells, becomes the plated
/// material; other filled cells neither grow a film nor let it pass.
class Electrodeposition : private IsotropicFront
{
public:
    /// thickness is in the world units of the cell sizes. volume is not owned. The strip count
    /// is the global thread pool's maximum thread count at this moment.
    Electrodeposition(Model::Automaton::TotalVolume *volume, quint32 platedMaterial,
                      quint32 conductingMaterial, float thickness);

    /// Runs the whole plating, holding both cell arrays of the volume until it returns. Returns
    /// false with a reason when nothing could be done (no volume, a thickness below 0 or not a
    /// number, unusable cell sizes) or when memory ran out part-way.
    bool runDeposition(QString *error = nullptr) { return run(error); }

    using IsotropicFront::getPassCount;
    using IsotropicFront::getPassesRun;
    using IsotropicFront::getStripCount;
};

} // namespace Operations
} // namespace Core

#endif
