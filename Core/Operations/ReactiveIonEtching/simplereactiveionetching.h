#ifndef CELVANE_CORE_OPERATIONS_REACTIVEIONETCHING_SIMPLEREACTIVEIONETCHING_H
#define CELVANE_CORE_OPERATIONS_REACTIVEIONETCHING_SIMPLEREACTIVEIONETCHING_H

#include "Core/Operations/columnworker.h"
#include "Core/Operations/stripslot.h"

#include <vector>

namespace Core {
namespace Operations {

/// Strictly vertical etching of one material: each step removes one cell from every surface of
/// that material that faces the etch direction (an empty cell above for etching from the top,
/// below for etching from below). Columns never interact, so there is no lateral etching.
class SimpleReactiveIonEtching : public ColumnWorker
{
public:
    /// Etch direction flags.
    enum Direction
    {
        FromTop = 1,
        FromBelow = 2,
        FromBothSides = FromTop | FromBelow
    };

    /// direction is a combination of Direction flags; 0 etches nothing. volume is not owned. The
    /// strip count is the global thread pool's maximum thread count at this moment, or 1 when
    /// the volume has fewer x cells than that.
    SimpleReactiveIonEtching(Model::Automaton::TotalVolume *volume, quint32 material, quint32 steps,
                             quint8 direction);

    /// Runs all steps, holding both cell arrays until it returns. Returns false with a reason
    /// when there is no volume or memory ran out part-way (each column then holds a whole
    /// number of steps; both arrays agree).
    bool runEtching(QString *error = nullptr);

    quint32 getStepsRun() const { return stepsRun; }

private:
    typedef std::vector<quint64> CellSet;

    void runPartialSurface(const unsigned int strip);
    void runPartialEtchingStep(const unsigned int strip);
    bool etchable(quint64 index) const;

    quint32 material;
    quint32 steps;
    quint8 direction;
    /// Per strip, ascending and without repeats.
    std::vector<StripSlot<CellSet>> surfaces;
    std::vector<StripSlot<CellSet>> nextSurfaces;
    quint32 stepsRun;
};

} // namespace Operations
} // namespace Core

#endif
