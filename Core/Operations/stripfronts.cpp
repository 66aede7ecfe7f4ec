#include "Core/Operations/stripfronts.h"

#include <QMutexLocker>

#include <algorithm>

namespace Core {
namespace Operations {

StripFronts::StripFronts(const StripRunner &runner, quint64 cellsPerLayer) : runner(runner)
{
    strips.reserve(size_t(runner.getStripCount()));
    for (int i = 0; i < runner.getStripCount(); ++i) {
        strips.emplace_back(new Strip);
        Strip &strip = *strips.back();
        strip.firstX = runner.getFirstX(i);
        strip.endX = runner.getEndX(i);
        strip.ownBegin = strip.firstX * cellsPerLayer;
        strip.ownEnd = strip.endX * cellsPerLayer;
        // Filed cells lie at most one layer beyond the strip.
        const quint32 first = strip.firstX == 0 ? 0 : strip.firstX - 1;
        const quint32 end = qMin(strip.endX + 1, runner.getCellsX());
        strip.markBase = (first * cellsPerLayer) & ~CellIndex(63);
        strip.marks.assign(size_t((end * cellsPerLayer - strip.markBase + 63) / 64), 0);
    }
}

quint64 StripFronts::getFrontSize() const
{
    quint64 size = 0;
    for (const std::unique_ptr<Strip> &strip : strips)
        size += strip->front.size();
    return size;
}

void StripFronts::beginFiling(Strip &strip)
{
    strip.left.clear();
    strip.right.clear();
}

void StripFronts::clearAllMarks(Strip &strip)
{
    std::fill(strip.marks.begin(), strip.marks.end(), 0);
}

void StripFronts::exchange(int index)
{
    Strip &strip = getStrip(index);
    std::vector<quint64> &marks = strip.marks;
    const CellIndex base = strip.markBase;
    // The marks beyond the strip stand for cells handed over: the lists carry them on.
    for (const CellList *list : {&strip.left, &strip.right})
        for (CellIndex i : *list)
            marks[size_t((i - base) >> 6)] &= ~(quint64(1) << ((i - base) & 63));
    const auto mark = [&marks, base](const CellList &list) {
        for (CellIndex i : list)
            marks[size_t((i - base) >> 6)] |= quint64(1) << ((i - base) & 63);
    };
    if (index > 0) {
        Strip &left = getStrip(index - 1);
        QMutexLocker lock(&left.mutex);
        mark(left.right);
    }
    if (index + 1 < getStripCount()) {
        Strip &right = getStrip(index + 1);
        QMutexLocker lock(&right.mutex);
        mark(right.left);
    }
    // Only the strip's own cells are marked now; their words are read and cleared in order.
    CellList &front = strip.front;
    front.clear();
    const size_t firstWord = size_t((strip.ownBegin - base) >> 6);
    const size_t endWord = size_t((strip.ownEnd - base + 63) >> 6);
    for (size_t w = firstWord; w < endWord; ++w) {
        quint64 word = marks[w];
        if (!word)
            continue;
        marks[w] = 0;
        const CellIndex wordBase = base + (CellIndex(w) << 6);
        do {
            front.push_back(wordBase + CellIndex(__builtin_ctzll(word)));
            word &= word - 1;
        } while (word);
    }
}

bool StripFronts::runFiling(const FrontWork &work)
{
    return runPass(work, CellWork(), CellWork());
}

bool StripFronts::runPass(const FrontWork &work, const CellWork &copyBack, const CellWork &rollBack)
{
    const bool worked = runner.runPhase([&](int index) {
        Strip &strip = getStrip(index);
        QMutexLocker lock(&strip.mutex);
        beginFiling(strip);
        work(strip, index);
    });
    if (!worked) {
        // Undo the pass: no strip has copied back yet, so the cells are as it found them.
        if (rollBack)
            runner.runPhase([&](int index) { rollBack(getStrip(index).front, index); });
        clear();
        return false;
    }
    return runner.runPhase([&](int index) {
        // Copy-back first: it cannot fail, so the cells always end a whole pass.
        if (copyBack)
            copyBack(getStrip(index).front, index);
        exchange(index);
    });
}

bool StripFronts::runLocalPass(const FrontWork &work, const CellWork &copyBack,
                               const CellWork &rollBack)
{
    const bool ok = runner.runPhase([&](int index) {
        Strip &strip = getStrip(index);
        try {
            QMutexLocker lock(&strip.mutex);
            beginFiling(strip);
            work(strip, index);
        } catch (...) {
            // This strip's cells stay as the pass found them; the other strips are independent.
            if (rollBack)
                rollBack(strip.front, index);
            strip.front.clear();
            beginFiling(strip);
            clearAllMarks(strip);
            throw;
        }
        if (copyBack)
            copyBack(strip.front, index);
    });
    // Cells filed beyond a strip still join their owner's front.
    return runner.runPhase([&](int index) { exchange(index); }) && ok;
}

void StripFronts::clear()
{
    for (const std::unique_ptr<Strip> &strip : strips) {
        beginFiling(*strip);
        clearAllMarks(*strip);
        strip->front.clear();
    }
}

} // namespace Operations
} // namespace Core
