#ifndef CELVANE_CORE_OPERATIONS_STRIPFRONTS_H
#define CELVANE_CORE_OPERATIONS_STRIPFRONTS_H

#include "Core/Operations/striprunner.h"

#include <QMutex>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

namespace Core {
namespace Operations {

/// The fronts of a front-propagation worker, one per strip of a StripRunner, with the hand-over
/// lists through which a strip passes cells it finds beyond its x range to the neighbouring
/// strip that owns them.
///
/// A pass has two phases, each finished by every strip before the next begins:
/// 1. front work: under its mutex, each strip examines its front, writes only cells of its own
///    x range into the next generation and files the cells to examine next (Strip::file);
/// 2. exchange: each strip copies its changed cells back, marks the cells of the hand-over
///    lists its neighbours filed for it (taken under their mutexes), and reads its new front
///    off its marks in index order: ascending and repeat-free without any sorting.
/// So every pass reads the cells as they stood when it began, and every filed cell joins its
/// owner's front for the next pass.
class StripFronts
{
public:
    typedef quint64 CellIndex;
    typedef std::vector<CellIndex> CellList;

    /// One strip's front and lists, on cache lines of its own: strips write their lists
    /// concurrently.
    class alignas(64) Strip
    {
    public:
        quint32 getFirstX() const { return firstX; }
        quint32 getEndX() const { return endX; }
        /// Cells to examine in this pass, ascending, without repeats.
        const CellList &getFront() const { return front; }
        /// Files a cell whose x coordinate is x for the next pass: into this strip's new front
        /// when x lies in the strip, else into the hand-over list towards its owner. x must lie
        /// in the strip or in the layer next to it (neighbours of the strip's cells). A cell
        /// filed again in the same phase is ignored, so the lists stay short.
        void file(CellIndex index, quint32 x)
        {
            Q_ASSERT(x + 1 >= firstX && x <= endX);
            const CellIndex bit = index - markBase;
            quint64 &word = marks[size_t(bit >> 6)];
            const quint64 mask = quint64(1) << (bit & 63);
            if (word & mask)
                return;
            word |= mask;
            // Cells of the strip stay marks only: the next front is read off them in index
            // order, so it needs no sorting.
            if (x < firstX)
                left.push_back(index);
            else if (x >= endX)
                right.push_back(index);
        }
        const CellList &getLeftHandOver() const { return left; }
        const CellList &getRightHandOver() const { return right; }

    private:
        friend class StripFronts;
        quint32 firstX = 0;
        quint32 endX = 0;
        CellList front;
        CellList left;
        CellList right;
        QMutex mutex;
        /// One bit per cell of the strip and the layer on either side: filed in this phase.
        /// markBase is a multiple of 64, so the strip's own cells start on a whole word.
        std::vector<quint64> marks;
        CellIndex markBase = 0;
        /// The strip's own cells: [ownBegin, ownEnd) in cell indices.
        CellIndex ownBegin = 0;
        CellIndex ownEnd = 0;
    };

    /// Examines a strip's front (Strip::getFront) and files cells; runs under the strip's mutex.
    typedef std::function<void(Strip &strip, int index)> FrontWork;
    /// Works on the cells of a strip's old front: copy-back after the front work, or roll-back of
    /// the next generation when a pass could not be completed. index is the strip's number, for
    /// workers that keep per-strip records of their changes.
    typedef std::function<void(const CellList &front, int index)> CellWork;

    /// Empty fronts for the strips of runner, in a volume with cellsPerLayer cells in each layer
    /// of constant x (cellsY * cellsZ); the runner must outlive this object. Throws
    /// std::bad_alloc when the strips' filing marks (one bit per cell) cannot be allocated.
    StripFronts(const StripRunner &runner, quint64 cellsPerLayer);

    int getStripCount() const { return int(strips.size()); }
    Strip &getStrip(int index) { return *strips[size_t(index)]; }
    const Strip &getStrip(int index) const { return *strips[size_t(index)]; }
    /// Cells in all fronts together.
    quint64 getFrontSize() const;
    bool isEmpty() const { return getFrontSize() == 0; }

    /// A filing phase and the exchange, without copy-back: the fronts become the cells filed by
    /// work (typically an initialization pass, which files the cells it classifies as front).
    bool runFiling(const FrontWork &work);
    /// One propagation pass: front work, then copy-back of the old fronts and exchange. When the
    /// front work fails (exhausted memory), rollBack runs on every old front instead, the fronts
    /// are emptied, and false is returned; the cells are then as before the pass.
    bool runPass(const FrontWork &work, const CellWork &copyBack, const CellWork &rollBack);
    /// A pass for workers whose cells never depend on other strips (column-wise processes): front
    /// work, copy-back and the new front in one phase per strip. Cells filed beyond a strip are
    /// still handed over, in a second phase. A strip whose front work fails rolls back and ends
    /// with an empty front; false is returned.
    bool runLocalPass(const FrontWork &work, const CellWork &copyBack, const CellWork &rollBack);
    /// Empties every front and list.
    void clear();

private:
    static void beginFiling(Strip &strip);
    static void clearAllMarks(Strip &strip);
    /// The exchange of one strip: hand-overs taken, the new front read off the marks, every
    /// mark cleared.
    void exchange(int index);

    const StripRunner &runner;
    std::vector<std::unique_ptr<Strip>> strips;
};

} // namespace Operations
} // namespace Core

#endif
