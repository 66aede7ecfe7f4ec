#ifndef CELVANE_CORE_OPERATIONS_PLANARIZATION_SPINCOATING_H
#define CELVANE_CORE_OPERATIONS_PLANARIZATION_SPINCOATING_H

#include "Core/Operations/striprunner.h"

#include <QString>
#include <QtGlobal>

namespace Model {
namespace Automaton {
class TotalVolume;
class Voxel;
} // namespace Automaton
} // namespace Model

namespace Core {
namespace Operations {

/// Pours a material into the structure like a liquid: every empty cell below the given height
/// takes the material, whether or not it is open to the outside.
class SpinCoating
{
public:
    /// height is a number of cell layers from the bottom, clipped to cellsZ. volume is not
    /// owned. The strip count is the global thread pool's maximum thread count at this moment.
    SpinCoating(Model::Automaton::TotalVolume *volume, quint32 material, quint32 height);

    /// Fills the empty cells of layers [0, height), holding both cell arrays until it returns.
    /// Returns false with a reason when there is no volume.
    bool runSpinCoating(QString *error = nullptr);

    quint32 getHeight() const { return height; }
    int getStripCount() const { return runner.getStripCount(); }

private:
    void runStrip(int strip);

    Model::Automaton::TotalVolume *volume;
    quint32 material;
    quint32 height;
    quint32 cellsX;
    quint32 cellsY;
    quint32 cellsZ;
    StripRunner runner;
    Model::Automaton::Voxel *cells;
    Model::Automaton::Voxel *nextCells;
};

} // namespace Operations
} // namespace Core

#endif
