#include "Util/spinlock.h"

#include <QThread>

namespace Util {

namespace {
const int busyRetries = 64;
const int yieldRetries = 16;
} // namespace

bool SpinLock::tryLock()
{
    quint32 expected = 0;
    return word.compare_exchange_strong(expected, 1, std::memory_order_acquire,
                                        std::memory_order_relaxed);
}

void SpinLock::lock()
{
    if (tryLock())
        return;
    // Busy retries only help when another core can release the lock meanwhile.
    static const bool multiCore = QThread::idealThreadCount() > 1;
    if (multiCore) {
        for (int i = 0; i < busyRetries; ++i) {
            if (word.load(std::memory_order_relaxed) == 0 && tryLock())
                return;
        }
    }
    for (int i = 0; i < yieldRetries; ++i) {
        QThread::yieldCurrentThread();
        if (tryLock())
            return;
    }
    // Processes hold the locks for whole computations: sleep rather than burn a core.
    while (!tryLock())
        QThread::msleep(1);
}

bool SpinLock::unlock()
{
    quint32 expected = 1;
    return word.compare_exchange_strong(expected, 0, std::memory_order_release,
                                        std::memory_order_relaxed);
}

} // namespace Util
