#ifndef CELVANE_CORE_OPERATIONS_COLUMNWORKER_H
#define CELVANE_CORE_OPERATIONS_COLUMNWORKER_H

#include "Core/Operations/striprunner.h"
#include "Util/progress.h"

#include <QString>
#include <QtGlobal>

#include <atomic>

namespace Model {
namespace Automaton {
class TotalVolume;
class Voxel;
} // namespace Automaton
} // namespace Model

namespace Core {
namespace Operations {

/// The frame of the workers whose columns (the cells of one x and y, z ascending) never
/// interact: the volume, its dimensions, strips along x, and both cell arrays while a run holds
/// them.
class ColumnWorker
{
public:
    int getStripCount() const { return runner.getStripCount(); }

protected:
    /// The minimum strip width for light column work: narrower strips are not worth a thread.
    static constexpr quint32 lightWorkStripWidth = 3;

    /// volume is not owned and may be null. The strip count is the global thread pool's maximum
    /// thread count at this moment, or 1 when the volume is narrower than minimumStripWidth.
    ColumnWorker(Model::Automaton::TotalVolume *volume, quint32 minimumStripWidth);

    /// True when there is a volume; otherwise false with missing as the reason.
    bool checkVolume(const QString &missing, QString *error) const;
    /// Locks both arrays of the volume into cells and nextCells.
    void lockArrays();
    /// Releases both arrays; cells and nextCells become null.
    void releaseArrays();
    /// Calls work(column) for every column of a strip, column being the index of its cell at
    /// z = 0.
    template <class Work> void forEachColumn(int strip, Work work) const
    {
        for (quint32 x = runner.getFirstX(strip); x < runner.getEndX(strip); ++x)
            for (quint32 y = 0; y < cellsY; ++y)
                work((quint64(x) * cellsY + y) * cellsZ);
    }

    /// Locks both arrays, calls work(column) for every column, strips in parallel, and releases
    /// the arrays. For work that allocates nothing, so no phase can fail. Strips done are
    /// reported to the step's progress; once it is cancelled the strips not yet begun are left
    /// alone and the result is false.
    template <class Work> bool runColumns(Work work)
    {
        // The strips run on pool threads, which do not see the caller's progress.
        Util::Progress *const progress = Util::Progress::current();
        if (progress)
            progress->start(quint64(runner.getStripCount()));
        std::atomic<quint64> stripsDone(0);
        std::atomic<bool> skipped(false);
        lockArrays();
        runner.runPhase([this, &work, progress, &stripsDone, &skipped](int strip) {
            if (progress && progress->isCanceled()) {
                skipped = true;
                return;
            }
            forEachColumn(strip, work);
            if (progress)
                progress->setDone(++stripsDone);
        });
        releaseArrays();
        return !skipped;
    }

    Model::Automaton::TotalVolume *volume;
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
