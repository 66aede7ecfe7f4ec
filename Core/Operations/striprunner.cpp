#include "Core/Operations/striprunner.h"

#include <QRunnable>
#include <QSemaphore>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace Core {
namespace Operations {

namespace {

/// The shared state of one phase. Helpers that start late find no strip left and return
/// without touching the task, so the task may live on the caller's stack.
struct Batch
{
    Batch(const std::function<void(int)> &task, int count) : task(&task), count(count) {}

    void work()
    {
        for (;;) {
            const int strip = next.fetch_add(1);
            if (strip >= count)
                return;
            try {
                (*task)(strip);
            } catch (...) {
                failed.store(true);
            }
            finished.release();
        }
    }

    const std::function<void(int)> *task;
    const int count;
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    QSemaphore finished;
};

class Helper : public QRunnable
{
public:
    explicit Helper(const std::shared_ptr<Batch> &batch) : batch(batch) { setAutoDelete(true); }
    void run() override { batch->work(); }

private:
    std::shared_ptr<Batch> batch;
};

} // namespace

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
    if (stripCount == 1) {
        try {
            task(0);
        } catch (...) {
            return false;
        }
        return true;
    }
    std::shared_ptr<Batch> batch;
    try {
        batch = std::make_shared<Batch>(task, stripCount);
        QThreadPool *pool = QThreadPool::globalInstance();
        for (int i = 1; i < stripCount; ++i)
            pool->start(new Helper(batch));
    } catch (...) {
        if (!batch)
            return false;
        // Whatever helpers did start share the work with this thread.
    }
    batch->work();
    batch->finished.acquire(stripCount);
    return !batch->failed.load();
}

} // namespace Operations
} // namespace Core
