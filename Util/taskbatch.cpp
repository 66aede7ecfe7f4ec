#include "Util/taskbatch.h"

#include <QRunnable>
#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace Util {

namespace {

#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void *address);
extern "C" void __tsan_release(void *address);
// The pool hands tasks over under its own locks, which the thread sanitizer cannot see in an
// uninstrumented Qt; these make the hand-over visible to it.
void handOverRelease(void *address)
{
    __tsan_release(address);
}
void handOverAcquire(void *address)
{
    __tsan_acquire(address);
}
#else
void handOverRelease(void *) {}
void handOverAcquire(void *) {}
#endif

/// The shared state of one batch. Helpers that start late find no task left and return
/// without touching the task, so the task may live on the caller's stack.
struct Batch
{
    Batch(const std::function<void(int)> &task, int count) : task(&task), count(count) {}

    void work()
    {
        for (;;) {
            const int index = next.fetch_add(1);
            if (index >= count)
                return;
            try {
                (*task)(index);
            } catch (...) {
                failed.store(true);
            }
            std::lock_guard<std::mutex> lock(mutex);
            if (++finished == count)
                allFinished.notify_all();
        }
    }

    void wait()
    {
        std::unique_lock<std::mutex> lock(mutex);
        allFinished.wait(lock, [this]() { return finished == count; });
    }

    const std::function<void(int)> *task;
    const int count;
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::mutex mutex;
    std::condition_variable allFinished;
    int finished = 0;
};

class Helper : public QRunnable
{
public:
    explicit Helper(const std::shared_ptr<Batch> &batch) : batch(batch)
    {
        setAutoDelete(true);
        handOverRelease(this);
    }
    void run() override
    {
        handOverAcquire(this);
        batch->work();
    }

private:
    std::shared_ptr<Batch> batch;
};

} // namespace

bool TaskBatch::run(int count, const std::function<void(int)> &task)
{
    if (count <= 0)
        return true;
    if (count == 1) {
        try {
            task(0);
        } catch (...) {
            return false;
        }
        return true;
    }
    std::shared_ptr<Batch> batch;
    try {
        batch = std::make_shared<Batch>(task, count);
        QThreadPool *pool = QThreadPool::globalInstance();
        for (int i = 1; i < count; ++i)
            pool->start(new Helper(batch));
    } catch (...) {
        if (!batch)
            return false;
        // Whatever helpers did start share the work with this thread.
    }
    batch->work();
    batch->wait();
    return !batch->failed.load();
}

} // namespace Util
