#ifndef CELVANE_CORE_OPERATIONS_STRIPRUNNER_H
#define CELVANE_CORE_OPERATIONS_STRIPRUNNER_H

#include <QtGlobal>

#include <functional>

namespace Core {
namespace Operations {

/// Splits the x range of a cell volume into strips, one per thread of the global thread pool,
/// and runs the phases of a worker as batches of per-strip tasks.
///
/// Strip i covers x in [i * w, (i + 1) * w) with w = cellsX / thread count; the last strip ends
/// at cellsX. When w is below the worker's minimum width the whole range is one strip, worked
/// on the calling thread. A phase returns only when every strip of it has finished, so the next
/// phase always sees all writes of the previous one.
///
/// The calling thread works on strips itself while it waits. That keeps a worker that is run
/// from a pool thread (the batch run) from waiting for pool threads that can never start.
class StripRunner
{
public:
    /// Strips for cellsX cells, as many as QThreadPool::globalInstance()->maxThreadCount().
    StripRunner(quint32 cellsX, quint32 minimumWidth);
    /// Strips for an explicit thread count (values below 1 count as 1).
    StripRunner(quint32 cellsX, quint32 minimumWidth, int threadCount);

    /// The thread count the strips were planned for.
    int getThreadCount() const { return threadCount; }
    /// cellsX / thread count, whether or not the volume was split.
    quint32 getStripWidth() const { return stripWidth; }
    /// Number of strips: the thread count, or 1 for a volume narrower than the minimum.
    int getStripCount() const { return stripCount; }
    bool isSingleThreaded() const { return stripCount == 1; }
    quint32 getCellsX() const { return cellsX; }
    /// First x of a strip.
    quint32 getFirstX(int strip) const { return quint32(strip) * stripWidth; }
    /// One past the last x of a strip.
    quint32 getEndX(int strip) const
    {
        return strip + 1 == stripCount ? cellsX : quint32(strip + 1) * stripWidth;
    }

    /// Runs task(strip) once for every strip and returns when all have finished. A single strip
    /// runs on the calling thread. Returns false when a task threw (for example on exhausted
    /// memory); the other strips of the phase still ran to their end.
    bool runPhase(const std::function<void(int strip)> &task) const;

private:
    quint32 cellsX;
    int threadCount;
    quint32 stripWidth;
    int stripCount;
};

} // namespace Operations
} // namespace Core

#endif
