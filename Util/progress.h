#ifndef CELVANE_UTIL_PROGRESS_H
#define CELVANE_UTIL_PROGRESS_H

#include <QtGlobal>

#include <atomic>

namespace Util {

/// How far a long computation has come and whether it should stop. The computation writes the
/// counters and reads the cancel flag between its passes, steps or slabs (never per cell); any
/// other thread reads the counters and cancels without a lock.
///
/// Workers reach the progress of the step they belong to through current(): whoever runs a step
/// installs its progress for the running thread with a Scope. Without one, reports go nowhere
/// and nothing asks for a stop, so the workers need no other parameter.
class Progress
{
public:
    Progress() : done(0), total(0), cancelAt(0), canceled(false) {}
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    /// A new count of total units begins; none is done yet.
    void start(quint64 units);
    /// units of the total are done.
    void setDone(quint64 units);
    quint64 getDone() const { return done.load(std::memory_order_relaxed); }
    /// 0 while the computation has not said how much there is to do.
    quint64 getTotal() const { return total.load(std::memory_order_relaxed); }

    /// Asks the computation to stop at its next check.
    void cancel() { canceled.store(true, std::memory_order_release); }
    bool isCanceled() const { return canceled.load(std::memory_order_acquire); }
    /// Cancels as soon as units are reported done (0: never): a stop at a known point, for
    /// tests.
    void cancelWhenDone(quint64 units) { cancelAt.store(units, std::memory_order_relaxed); }

    /// The progress installed for the calling thread; null when there is none.
    static Progress *current();
    /// start() on the calling thread's progress, if any.
    static void reportTotal(quint64 units);
    /// setDone() on the calling thread's progress, if any.
    static void reportDone(quint64 units);
    /// True when the computation running on the calling thread was asked to stop.
    static bool stopRequested();

    /// Makes a progress the calling thread's for the scope's lifetime (the previous one
    /// returns afterwards).
    class Scope
    {
    public:
        explicit Scope(Progress *progress);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        Progress *previous;
    };

private:
    std::atomic<quint64> done;
    std::atomic<quint64> total;
    std::atomic<quint64> cancelAt;
    std::atomic<bool> canceled;
};

} // namespace Util

#endif
