#ifndef CELVANE_CORE_OPERATIONS_GLUE_GLUESUBSTRATE_H
#define CELVANE_CORE_OPERATIONS_GLUE_GLUESUBSTRATE_H

#include "Model/Automaton/totalvolume.h"

#include <QString>

namespace Core {
namespace Operations {

/// Stacks a top volume onto a base volume into a new volume: the base's cells below its highest
/// occupied layer, and above them the occupied layers of the top, shifted by a displacement in
/// x and y and, if asked, turned over about the y axis. Neither input volume is changed.
class GlueSubstrate
{
public:
    /// What the dialog's limits are worked out from.
    struct Extent
    {
        /// One above the highest occupied layer of the base (0 for an empty base).
        quint32 baseTop = 0;
        /// Lowest and highest occupied layer of the top; topHeight 0 when the top is empty.
        quint32 topMin = 0;
        quint32 topMax = 0;
        quint32 topHeight = 0;
        /// Cells along x and y both volumes need: the larger count of the two.
        quint32 minSizeX = 0;
        quint32 minSizeY = 0;
        /// Layers the result needs: baseTop + topHeight.
        quint32 minSizeZ = 0;
        /// How far the top may be displaced before it leaves the result.
        quint32 maxDisplacementX = 0;
        quint32 maxDisplacementY = 0;
    };

    /// Neither volume is owned; they must be different volumes.
    GlueSubstrate(Model::Automaton::TotalVolume *base, Model::Automaton::TotalVolume *top);

    /// Measures both volumes (under their cell locks, taken and released here).
    bool measure(Extent &extent, QString *error = nullptr) const;

    void setSize(quint32 x, quint32 y, quint32 z);
    void setDisplacement(quint32 x, quint32 y);
    void setInvertTop(bool invert) { invertTop = invert; }

    /// Builds the glued volume at the base's position, with the larger cell size of the two on
    /// each axis. Both input volumes are locked for the whole copy. Returns an empty pointer and
    /// the reason when the volumes are missing or the same, the size or displacement leaves
    /// something out, or the result does not fit in memory.
    Model::Automaton::TotalVolume::Ptr run(QString *error = nullptr);

    /// Tasks the last run used: the pool's maximum thread count, or 1 for narrow volumes.
    int getTaskCount() const { return taskCount; }

private:
    static Extent measureLocked(const Model::Automaton::TotalVolume &base,
                                const Model::Automaton::Voxel *baseCells,
                                const Model::Automaton::TotalVolume &top,
                                const Model::Automaton::Voxel *topCells);
    bool checkInputs(QString *error) const;

    Model::Automaton::TotalVolume *base;
    Model::Automaton::TotalVolume *top;
    quint32 sizeX, sizeY, sizeZ;
    quint32 displacementX, displacementY;
    bool invertTop;
    int taskCount;
};

} // namespace Operations
} // namespace Core

#endif
