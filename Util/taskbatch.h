#ifndef CELVANE_UTIL_TASKBATCH_H
#define CELVANE_UTIL_TASKBATCH_H

#include <functional>

namespace Util {

/// Runs task(0) .. task(count - 1) on Qt's global thread pool and returns when all have
/// finished. The calling thread takes tasks itself while it waits, so a caller that is itself a
/// pool thread never waits for threads that cannot start. Returns false when a task threw; the
/// other tasks still ran to their end.
///
/// The hand-over and the wait use standard mutexes (with explicit annotations for the pool's
/// own locks), so the thread sanitizer sees every ordering the results depend on.
class TaskBatch
{
public:
    static bool run(int count, const std::function<void(int index)> &task);
};

} // namespace Util

#endif
