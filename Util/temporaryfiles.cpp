#include "Util/temporaryfiles.h"

#include <QFile>

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace Util {

namespace {

// Fixed registry, so the signal handler reads them without locks or allocation.
const int slotCount = 64;
const int pathSize = 4096;

struct Slot
{
    /// Taken by a writer.
    std::atomic<bool> claimed{false};
    /// Its path is complete: the handler may read it.
    std::atomic<bool> used{false};
    char path[pathSize];
};

Slot registry[slotCount];

extern "C" void removeAndStop(int signal)
{
    // Only async-signal-safe calls here.
    for (Slot &slot : registry)
        if (slot.used.load(std::memory_order_acquire))
            ::unlink(slot.path);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

bool TemporaryFiles::add(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty() || encoded.size() >= pathSize)
        return false;
    for (Slot &slot : registry) {
        bool expected = false;
        if (!slot.claimed.compare_exchange_strong(expected, true))
            continue;
        std::memcpy(slot.path, encoded.constData(), size_t(encoded.size()) + 1);
        slot.used.store(true, std::memory_order_release);
        return true;
    }
    return false;
}

void TemporaryFiles::remove(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    for (Slot &slot : registry)
        if (slot.used.load(std::memory_order_acquire) &&
            std::strcmp(slot.path, encoded.constData()) == 0) {
            slot.used.store(false, std::memory_order_release);
            slot.claimed.store(false, std::memory_order_release);
            return;
        }
}

void TemporaryFiles::removeOnStoppingSignals()
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction current;
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = removeAndStop;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

} // namespace Util
