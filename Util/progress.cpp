#include "Util/progress.h"

namespace Util {

namespace {

thread_local Progress *installed = nullptr;

} // namespace

void Progress::start(quint64 units)
{
    done.store(0, std::memory_order_relaxed);
    total.store(units, std::memory_order_relaxed);
}

void Progress::setDone(quint64 units)
{
    done.store(units, std::memory_order_relaxed);
    const quint64 at = cancelAt.load(std::memory_order_relaxed);
    if (at != 0 && units >= at)
        cancel();
}

Progress *Progress::current()
{
    return installed;
}

void Progress::reportTotal(quint64 units)
{
    if (installed)
        installed->start(units);
}

void Progress::reportDone(quint64 units)
{
    if (installed)
        installed->setDone(units);
}

bool Progress::stopRequested()
{
    return installed && installed->isCanceled();
}

Progress::Scope::Scope(Progress *progress) : previous(installed)
{
    installed = progress;
}

Progress::Scope::~Scope()
{
    installed = previous;
}

} // namespace Util
