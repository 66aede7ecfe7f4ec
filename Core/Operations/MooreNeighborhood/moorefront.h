#ifndef CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOOD_MOOREFRONT_H
#define CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOOD_MOOREFRONT_H

#include "Core/Operations/striprunner.h"

#include <QString>
#include <QtGlobal>

#include <vector>

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
///
/// The fronts are bit sets with one bit per cell, each column of cells (one x and y, z
/// ascending) on whole 64-bit words: a step is a bitwise 26-neighbour dilation of the front,
/// masked by the cells still to change, column word by column word on strips along x. The
/// cells are read once at the start and the changed ones written once at the end.
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
    typedef std::vector<quint64> Bits;

    /// Bit sets of the run, column by column.
    struct Sets
    {
        /// Cells the run may still change: passable at the start and not yet in a front.
        Bits open;
        /// The front of this step, and the next one being built from it (at the start, the
        /// source cells).
        Bits front;
        Bits next;
        /// Cells changed so far.
        Bits changed;
    };

    template <Mode M> void classify(Sets &sets, int strip) const;
    /// next = open & dilation of source over the strip's columns; open and changed lose next.
    /// Returns true when next is not empty.
    /// out = open & the 26-neighbour dilation of source, over the strip's columns; those cells
    /// leave open. With changed, the strip's source cells join it (source is the front that
    /// has just been applied). Returns true when out is not empty in the strip.
    bool advance(const Bits &source, Bits &out, Sets &sets, Bits *changed, int strip) const;
    /// The last front joins the changed cells.
    void accumulate(Sets &sets, int strip) const;
    void writeChanges(const Sets &sets, int strip, quint32 changedTo) const;

    Model::Automaton::TotalVolume *volume;
    quint32 material;
    qint32 steps;
    Mode mode;
    StripRunner runner;
    quint32 cellsX;
    quint32 cellsY;
    quint32 cellsZ;
    /// 64-bit words per column.
    quint32 columnWords;
    qint32 stepsRun;
    Model::Automaton::Voxel *cells;
    Model::Automaton::Voxel *nextCells;
};

} // namespace Operations
} // namespace Core

#endif
