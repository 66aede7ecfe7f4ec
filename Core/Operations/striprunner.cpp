#include "Core/Operations/striprunner.h"

#include "Util/taskbatch.h"

#include <QThreadPool>

namespace Core {
namespace Operations {

StripRunner::StripRunner(quint32 cellsX, quint32 minimumWidth)
    : StripRunner(cellsX, minimumWidth, QThreadPool::globalInstance()->maxThreadCount())
{}

StripRunner::StripRunner(quint32 cellsX, quint32 minimumWidth, int threads)
    : cellsX(cellsX), threadCount(qMax(1, threads)), stripWidth(cellsX / quint32(threadCount)),
      stripCount(threadCount)
{
    if (stripWidth < qMax(1u, minimumWidth))
        stripCount = 1;
}

bool StripRunner::runPhase(const std::function<void(int)> &task) const
{
    return Util::TaskBatch::run(stripCount, task);
}

} // namespace Operations
} // namespace Core
