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
        // Filed cells lie at most one layer beyond the strip.
        const quint32 first = strip.firstX == 0 ? 0 : strip.firstX - 1;
        const quint32 end = qMin(strip.endX + 1, runner.getCellsX());
        strip.markBase = first * cellsPerLayer;
        strip.marks.assign(size_t((quint64(end - first) * cellsPerLayer + 63) / 64), 0);
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
    clearMarks(strip);
    strip.next.clear();
    strip.left.clear();
    strip.right.clear();
}

void StripFronts::clearMarks(Strip &strip)
{
    for (const CellList *list : {&strip.next, &strip.left, &strip.right})
        for (CellIndex index : *list) {
            const CellIndex bit = index - strip.markBase;
            strip.marks[size_t(bit >> 6)] &= ~(quint64(1) << (bit & 63));
        }
}

void StripFronts::sortUnique(CellList &list)
{
    if (!std::is_sorted(list.begin(), list.end()))
        std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

void StripFronts::takeHandOvers(int index)
{
    Strip &strip = getStrip(index);
    if (index > 0) {
        Strip &left = getStrip(index - 1);
        QMutexLocker lock(&left.mutex);
        strip.next.insert(strip.next.end(), left.right.begin(), left.right.end());
    }
    if (index + 1 < getStripCount()) {
        Strip &right = getStrip(index + 1);
        QMutexLocker lock(&right.mutex);
        strip.next.insert(strip.next.end(), right.left.begin(), right.left.end());
    }
    sortUnique(strip.next);
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
        Strip &strip = getStrip(index);
        // Copy-back first: it cannot fail, so the cells always end a whole pass.
        if (copyBack)
            copyBack(strip.front, index);
        clearMarks(strip);
        takeHandOvers(index);
        strip.front.swap(strip.next);
        strip.next.clear();
    });
}

bool StripFronts::runLocalPass(const FrontWork &work, const CellWork &copyBack,
                               const CellWork &rollBack)
{
    bool ok = runner.runPhase([&](int index) {
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
            throw;
        }
        if (copyBack)
            copyBack(strip.front, index);
        clearMarks(strip);
        sortUnique(strip.next);
        strip.front.swap(strip.next);
        strip.next.clear();
    });
    bool handedOver = false;
    for (const std::unique_ptr<Strip> &strip : strips)
        handedOver = handedOver || !strip->left.empty() || !strip->right.empty();
    if (ok && handedOver) {
        ok = runner.runPhase([&](int index) {
            Strip &strip = getStrip(index);
            strip.next.swap(strip.front);
            takeHandOvers(index);
            strip.front.swap(strip.next);
            strip.next.clear();
        });
        for (const std::unique_ptr<Strip> &strip : strips) {
            strip->left.clear();
            strip->right.clear();
        }
    }
    return ok;
}

void StripFronts::clear()
{
    for (const std::unique_ptr<Strip> &strip : strips) {
        beginFiling(*strip);
        strip->front.clear();
    }
}

} // namespace Operations
} // namespace Core
