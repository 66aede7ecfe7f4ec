#ifndef CELVANE_CORE_OPERATIONS_ISOTROPIC_ISOTROPICFRONT_H
#define CELVANE_CORE_OPERATIONS_ISOTROPIC_ISOTROPICFRONT_H

#include "Core/Operations/cellneighborhood.h"
#include "Core/Operations/distancefront.h"
#include "Core/Operations/stripfronts.h"
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

/// The run shared by the isotropic deposition and etching workers: a distance front spreads
/// from the source cells (filled cells for a deposition, empty cells for an etch) through the
/// cells the process may change, on strips along x, for a number of passes fixed by the
/// thickness, and changes every cell whose carried distance stays within the thickness.
class IsotropicFront
{
public:
    enum Mode
    {
        Deposition,
        Etching
    };

    /// Both cell arrays of volume must agree (no other worker running). volume is not owned.
    IsotropicFront(Model::Automaton::TotalVolume *volume, quint32 material, float thickness,
                   Mode mode);
    IsotropicFront(const IsotropicFront &) = delete;
    IsotropicFront &operator=(const IsotropicFront &) = delete;

    /// Locks both arrays, runs the initialization and the passes, releases the arrays. Returns
    /// false with a reason when the parameters are unusable (nothing changes) or memory ran out
    /// (the cells hold the last whole pass; both arrays agree).
    bool run(QString *error);

    /// Passes the thickness calls for.
    quint64 getPassCount() const { return passes; }
    /// Passes actually run by the last run: fewer when the fronts died out early.
    quint64 getPassesRun() const { return passesRun; }
    int getStripCount() const { return runner.getStripCount(); }
    int getThreadCount() const { return runner.getThreadCount(); }

private:
    template <Mode M> void runPartialInitialization(StripFronts::Strip &strip);
    template <Mode M> void runPartialStep(StripFronts::Strip &strip);
    template <Mode M>
    void addFrontNeighbors(StripFronts::Strip &strip, CellNeighborhood::CellIndex i, quint32 x,
                           quint32 y, quint32 z);
    template <Mode M> bool runPasses(StripFronts &fronts);

    Model::Automaton::TotalVolume *volume;
    quint32 material;
    float thickness;
    Mode mode;
    StripRunner runner;
    CellNeighborhood neighborhood;
    DistanceFront distanceFront;
    quint64 passes;
    quint64 passesRun;
    Model::Automaton::Voxel *cells;
    Model::Automaton::Voxel *nextCells;
};

} // namespace Operations
} // namespace Core

#endif
