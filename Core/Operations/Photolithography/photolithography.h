#ifndef CELVANE_CORE_OPERATIONS_PHOTOLITHOGRAPHY_H
#define CELVANE_CORE_OPERATIONS_PHOTOLITHOGRAPHY_H

#include "Core/Operations/striprunner.h"
#include "Core/Operations/stripslot.h"
#include "Model/Automaton/totalvolume.h"

#include <QString>

#include <vector>

namespace Core {
namespace Operations {

/// Develops a resist film column by column from its free surfaces, where the masks expose it
/// (positive resist) or shield it (negative resist, material 12). Development never leaves a
/// column, so strips exchange nothing.
class Photolithography
{
public:
    Photolithography(Model::Automaton::TotalVolume *volume, quint32 film,
                     const std::vector<bool> &bottomMask, quint32 bottomWidth, quint32 bottomHeight,
                     const std::vector<bool> &topMask, quint32 topWidth, quint32 topHeight);

    /// Holds both cell locks for the whole run; false with a reason when there is no volume, it
    /// ran out of memory or the step's progress was cancelled between two develop passes.
    bool run(QString *error = nullptr);

    /// 1 where the column is shielded on that side, 0 where it is developed (x * cellsY + y).
    const std::vector<char> &getTopExposure() const { return topExposure; }
    const std::vector<char> &getBottomExposure() const { return bottomExposure; }
    int getStripCount() const { return runner.getStripCount(); }

    static const quint32 negativeResist = 12;

private:
    void buildExposure(std::vector<char> &map, const std::vector<bool> &mask, quint32 width,
                       quint32 height) const;
    void initializeStrip(int strip);
    void developStrip(int strip);

    Model::Automaton::TotalVolume *volume;
    quint32 film;
    quint32 cellsX, cellsY, cellsZ;
    std::vector<char> topExposure;
    std::vector<char> bottomExposure;
    StripRunner runner;
    std::vector<StripSlot<std::vector<quint64>>> fronts;
    std::vector<StripSlot<std::vector<quint64>>> nextFronts;
    Model::Automaton::Voxel *cells;
    Model::Automaton::Voxel *nextCells;
};

} // namespace Operations
} // namespace Core

#endif
