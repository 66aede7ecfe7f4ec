#ifndef CELVANE_CORE_OPERATIONS_BATCHRUN_BATCHRUN_H
#define CELVANE_CORE_OPERATIONS_BATCHRUN_BATCHRUN_H

#include "Core/Operations/BatchRun/stepexecutor.h"
#include "Util/progress.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <QVariantMap>

#include <functional>

namespace Core {
namespace Operations {

/// Runs a process list, step after step in list order, on one cell volume. run() blocks, so
/// hosts call it on a worker thread (the dialog) or on the main thread (the command line);
/// another thread may watch its progress (steps done of steps) and ask for a stop between
/// steps.
class BatchRun
{
public:
    struct Step
    {
        quint32 type;
        QVariantMap parameters;
    };

    enum Outcome
    {
        Ran,
        Skipped,
        Failed,
        NotRun ///< never started: the run stopped before it
    };

    struct Result
    {
        Outcome outcome = NotRun;
        QString reason;
        qint64 milliseconds = 0;
    };

    /// Called on the running thread after each step, with its index in the list.
    typedef std::function<void(int index, const Step &step, const Result &result)> StepObserver;

    explicit BatchRun(const StepContext &context);

    void setStepObserver(const StepObserver &observer) { stepObserver = observer; }

    /// Runs the steps. Without a volume, a step other than Create Substrate ends the run
    /// (missingVolume() then says so). Returns true when every step ran.
    bool run(const QList<Step> &steps);
    /// Ends a run after its current step; the volume keeps the steps done so far. A stopped
    /// batch runs no further steps.
    void requestStop() { progress.cancel(); }

    /// Steps taken so far (run, skipped or failed) of the steps of the list; safe to read while
    /// run() works.
    const Util::Progress &getProgress() const { return progress; }
    unsigned getCompletedSteps() const { return unsigned(progress.getDone()); }
    /// The following are for after run() returned.
    QList<Result> getResults() const;
    bool wasStopped() const { return stopped; }
    bool missingVolume() const { return volumeMissing; }
    Model::Automaton::TotalVolume::Ptr getVolume() const;
    /// "N steps ran", with the skipped and failed steps and their reasons, one per line.
    QString summary(const QList<Step> &steps) const;

private:
    StepContext context;
    StepObserver stepObserver;
    mutable QMutex resultsMutex;
    QList<Result> results;
    Util::Progress progress;
    bool stopped;
    bool volumeMissing;
};

} // namespace Operations
} // namespace Core

#endif
