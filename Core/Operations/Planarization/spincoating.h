#ifndef CELVANE_CORE_OPERATIONS_PLANARIZATION_SPINCOATING_H
#define CELVANE_CORE_OPERATIONS_PLANARIZATION_SPINCOATING_H

#include "Core/Operations/columnworker.h"

namespace Core {
namespace Operations {

/// Pours a material into the structure like a liquid: every empty cell below the given height
/// takes the material, whether or not it is open to the outside.
class SpinCoating : public ColumnWorker
{
public:
    /// height is a number of cell layers from the bottom, clipped to cellsZ. volume is not
    /// owned. The strip count is the global thread pool's maximum thread count at this moment.
    SpinCoating(Model::Automaton::TotalVolume *volume, quint32 material, quint32 height);

    /// Fills the empty cells of layers [0, height), holding both cell arrays until it returns.
    /// Returns false with a reason when there is no volume or the step was canceled part-way.
    bool runSpinCoating(QString *error = nullptr);

    quint32 getHeight() const { return height; }

private:
    quint32 material;
    quint32 height;
};

} // namespace Operations
} // namespace Core

#endif
