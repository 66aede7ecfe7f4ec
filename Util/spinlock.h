#ifndef CELVANE_UTIL_SPINLOCK_H
#define CELVANE_UTIL_SPINLOCK_H

#include <QtGlobal>

#include <atomic>

namespace Util {

/// A 32-bit lock word (0 free, 1 held) taken by compare-and-swap with a staged back-off:
/// a short busy retry on multi-core machines, then yielding, then 1 ms sleeps. It is not
/// re-entrant and not tied to a thread, so the code that locked must release.
class SpinLock
{
public:
    SpinLock() : word(0) {}
    SpinLock(const SpinLock &) = delete;
    SpinLock &operator=(const SpinLock &) = delete;

    void lock();
    bool tryLock();
    /// Compare-and-swap 1 -> 0; false when the lock was not held.
    bool unlock();
    bool isLocked() const { return word.load(std::memory_order_relaxed) != 0; }

private:
    std::atomic<quint32> word;
};

} // namespace Util

#endif
