#include "Core/Operations/BatchRun/batchrun.h"

#include "Core/Operations/BatchRun/processsteptypes.h"

#include <QElapsedTimer>

namespace Core {
namespace Operations {

BatchRun::BatchRun(const StepContext &context)
    : context(context), stopped(false), volumeMissing(false)
{}

bool BatchRun::run(const QList<Step> &steps)
{
    progress.start(quint64(steps.size()));
    // The workers of the steps report to nobody: the batch counts whole steps.
    Util::Progress::Scope quietWorkers(nullptr);
    stopped = false;
    volumeMissing = false;
    {
        QMutexLocker lock(&resultsMutex);
        results = QList<Result>();
        for (int i = 0; i < steps.size(); ++i)
            results.append(Result());
    }
    bool allRan = true;
    for (int i = 0; i < steps.size(); ++i) {
        if (progress.isCanceled()) {
            stopped = true;
            allRan = false;
            break;
        }
        const Step &step = steps.at(i);
        if (!context.volume && step.type != ProcessStepTypes::CreateSubstrate) {
            volumeMissing = true;
            allRan = false;
            break;
        }
        Result result;
        QElapsedTimer clock;
        clock.start();
        const StepExecutor::Outcome outcome =
            StepExecutor::execute(step.type, step.parameters, context, &result.reason);
        result.milliseconds = clock.elapsed();
        result.outcome = outcome == StepExecutor::Ran       ? Ran
                         : outcome == StepExecutor::Skipped ? Skipped
                                                            : Failed;
        allRan = allRan && result.outcome == Ran;
        {
            QMutexLocker lock(&resultsMutex);
            results[i] = result;
        }
        progress.setDone(quint64(i) + 1);
        if (stepObserver)
            stepObserver(i, step, result);
    }
    return allRan;
}

QList<BatchRun::Result> BatchRun::getResults() const
{
    QMutexLocker lock(&resultsMutex);
    return results;
}

Model::Automaton::TotalVolume::Ptr BatchRun::getVolume() const
{
    return context.volume;
}

QString BatchRun::summary(const QList<Step> &steps) const
{
    const QList<Result> all = getResults();
    int ran = 0;
    QStringList lines;
    for (int i = 0; i < all.size() && i < steps.size(); ++i) {
        const Result &r = all.at(i);
        if (r.outcome == Ran) {
            ++ran;
            continue;
        }
        if (r.outcome == NotRun)
            continue;
        lines.append(
            QStringLiteral("Step %1 (%2) %3: %4")
                .arg(i + 1)
                .arg(ProcessStepTypes::name(steps.at(i).type))
                .arg(r.outcome == Skipped ? QStringLiteral("skipped") : QStringLiteral("failed"))
                .arg(r.reason));
    }
    lines.prepend(QStringLiteral("%1 of %2 steps ran.").arg(ran).arg(steps.size()));
    if (stopped)
        lines.append(QStringLiteral("The run was stopped after step %1.").arg(getCompletedSteps()));
    return lines.join(QLatin1Char('\n'));
}

} // namespace Operations
} // namespace Core
