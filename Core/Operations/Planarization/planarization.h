#ifndef CELVANE_CORE_OPERATIONS_PLANARIZATION_PLANARIZATION_H
#define CELVANE_CORE_OPERATIONS_PLANARIZATION_PLANARIZATION_H

#include "Core/Operations/columnworker.h"

namespace Core {
namespace Operations {

/// Chemical-mechanical polishing: empties every cell layer at or above the maximum height and
/// every layer below the minimum height, leaving the horizontal slab between them. Heights are
/// whole numbers of cell layers counted from the bottom of the volume.
class Planarization : public ColumnWorker
{
public:
    /// maximumHeight is clipped to cellsZ. volume is not owned. The strip count is the global
    /// thread pool's maximum thread count at this moment.
    Planarization(Model::Automaton::TotalVolume *volume, quint32 maximumHeight,
                  quint32 minimumHeight);

    /// Runs the planarization, holding both cell arrays until it returns. A minimum above the
    /// maximum empties the whole volume. Returns false with a reason when there is no volume or
    /// the step was canceled part-way.
    bool runPlanarization(QString *error = nullptr);

    quint32 getMaximumHeight() const { return maximumHeight; }
    quint32 getMinimumHeight() const { return minimumHeight; }

private:
    quint32 maximumHeight;
    quint32 minimumHeight;
};

} // namespace Operations
} // namespace Core

#endif
