#ifndef CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOOD_MOOREFRONT_H
#define CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOOD_MOOREFRONT_H

#include "Core/Operations/cellneighborhood.h"
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

/// The run shared by the Moore-neighbourhood deposition and etching workers: each step changes
/// every front cell (empty cells touching the film for a deposition, cells of the etched material
/// touching empty space for an etch) and the front moves on to their 26 neighbours, so after n
/// steps the changed region is everything within n chessboard steps of the surface.
class MooreFront
{
public:
    enum Mode
    {
        Deposition,
        Etching
    };

    /// volume is not owned; only the materials of its cells are read and written.
    MooreFront(Model::Automaton::TotalVolume *volume, quint32 material, qint32 steps, Mode mode);
    MooreFront(const MooreFront &) = delete;
    MooreFront &operator=(const MooreFront &) = delete;

    /// Locks both arrays, builds the fronts, runs the steps, releases the arrays. Returns false
    /// with a reason when there is no volume or the step count is negative (nothing changes), or
    /// when memory ran out (the cells hold the last whole step; both arrays agree).
    bool run(QString *error);

    qint32 getSteps() const { return steps; }
    quint32 getMaterial() const { return material; }
    /// Steps actually run by the last run: fewer when the fronts died out early.
    qint32 getStepsRun() const { return stepsRun; }
    int getStripCount() const { return runner.getStripCount(); }
    int getThreadCount() const { return runner.getThreadCount(); }
    quint32 getStripWidth() const { return runner.getStripWidth(); }

private:
    template <Mode M> bool runSteps(StripFronts &fronts);
    template <Mode M> void runPartialInitialization(StripFronts::Strip &strip);
    template <Mode M> void runPartialStep(StripFronts::Strip &strip);

    Model::Automaton::TotalVolume *volume;
    quint32 material;
    qint32 steps;
    Mode mode;
    StripRunner runner;
    CellNeighborhood neighborhood;
    qint32 stepsRun;
    Model::Automaton::Voxel *cells;
    Model::Automaton::Voxel *nextCells;
};

} // namespace Operations
} // namespace Core

#endif
