#include "Core/Operations/striprunner.h"
#include "testmain.h"
#include "workertestutil.h"

#include <QThreadPool>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <new>
#include <vector>

using Core::Operations::StripRunner;

class TestStripRunner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stripGeometry_data();
    void stripGeometry();
    void threadCountComesFromTheGlobalPool();
    void everyStripRunsOncePerPhase_data() { WorkerTest::threadRows({1, 2, 3, 5, 16}); }
    void everyStripRunsOncePerPhase();
    void phasesDoNotOverlap();
    void stripsRunConcurrently();
    void failedTaskIsReported();
    void runsFromAPoolThreadWithoutDeadlock_data();
    void runsFromAPoolThreadWithoutDeadlock();
};

void TestStripRunner::stripGeometry_data()
{
    QTest::addColumn<quint32>("cellsX");
    QTest::addColumn<quint32>("minimumWidth");
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("strips");
    QTest::addColumn<quint32>("width");
    QTest::addColumn<quint32>("lastFirstX");

    // w = cellsX / threads; the last strip takes the remainder.
    QTest::newRow("10 over 3") << 10u << 2u << 3 << 3 << 3u << 6u;
    QTest::newRow("6 over 3, exactly 2 wide") << 6u << 2u << 3 << 3 << 2u << 4u;
    QTest::newRow("5 over 3, too narrow") << 5u << 2u << 3 << 1 << 1u << 0u;
    QTest::newRow("8 over 3, minimum 3") << 8u << 3u << 3 << 1 << 2u << 0u;
    QTest::newRow("9 over 3, minimum 3") << 9u << 3u << 3 << 3 << 3u << 6u;
    QTest::newRow("7 over 8, minimum 1") << 7u << 1u << 8 << 1 << 0u << 0u;
    QTest::newRow("8 over 8, minimum 1") << 8u << 1u << 8 << 8 << 1u << 7u;
    QTest::newRow("one thread") << 100u << 2u << 1 << 1 << 100u << 0u;
    QTest::newRow("no threads counts as one") << 100u << 2u << 0 << 1 << 100u << 0u;
    QTest::newRow("200 over 2") << 200u << 2u << 2 << 2 << 100u << 100u;
    QTest::newRow("17 over 5") << 17u << 2u << 5 << 5 << 3u << 12u;
    QTest::newRow("empty volume") << 0u << 2u << 4 << 1 << 0u << 0u;
}

void TestStripRunner::stripGeometry()
{
    QFETCH(quint32, cellsX);
    QFETCH(quint32, minimumWidth);
    QFETCH(int, threads);
    QFETCH(int, strips);
    QFETCH(quint32, width);
    QFETCH(quint32, lastFirstX);
    StripRunner runner(cellsX, minimumWidth, threads);
    QCOMPARE(runner.getStripCount(), strips);
    QCOMPARE(runner.getStripWidth(), width);
    QCOMPARE(runner.isSingleThreaded(), strips == 1);
    QCOMPARE(runner.getFirstX(strips - 1), lastFirstX);
    // The strips tile the volume, each at least the minimum wide when there are several.
    quint32 expectedFirst = 0;
    for (int s = 0; s < strips; ++s) {
        QCOMPARE(runner.getFirstX(s), expectedFirst);
        QVERIFY(strips == 1 || runner.getEndX(s) - runner.getFirstX(s) >= minimumWidth);
        expectedFirst = runner.getEndX(s);
    }
    QCOMPARE(expectedFirst, cellsX);
}

void TestStripRunner::threadCountComesFromTheGlobalPool()
{
    WorkerTest::ThreadCount three(3);
    StripRunner runner(30, 2);
    QCOMPARE(runner.getThreadCount(), 3);
    QCOMPARE(runner.getStripCount(), 3);
    WorkerTest::ThreadCount one(1);
    QCOMPARE(StripRunner(30, 2).getStripCount(), 1);
    // Read once, when built.
    QCOMPARE(runner.getStripCount(), 3);
}

void TestStripRunner::everyStripRunsOncePerPhase()
{
    QFETCH(int, threads);
    WorkerTest::ThreadCount pool(threads);
    StripRunner runner(64, 2);
    std::vector<std::atomic<int>> runs(size_t(runner.getStripCount()));
    for (int phase = 0; phase < 20; ++phase) {
        QVERIFY(runner.runPhase([&](int strip) { ++runs[size_t(strip)]; }));
        for (const std::atomic<int> &r : runs)
            QCOMPARE(r.load(), phase + 1);
    }
}

void TestStripRunner::phasesDoNotOverlap()
{
    // A slow strip holds the phase back: nothing of the next phase starts before it ends.
    WorkerTest::ThreadCount pool(4);
    StripRunner runner(40, 2);
    QCOMPARE(runner.getStripCount(), 4);
    std::atomic<int> finishedFirst{0};
    std::atomic<int> earlyStarts{0};
    QVERIFY(runner.runPhase([&](int strip) {
        if (strip == 0)
            QThread::msleep(50);
        ++finishedFirst;
    }));
    QVERIFY(runner.runPhase([&](int) {
        if (finishedFirst.load() != 4)
            ++earlyStarts;
    }));
    QCOMPARE(earlyStarts.load(), 0);
}

void TestStripRunner::stripsRunConcurrently()
{
    // Each strip waits until all have arrived: only a truly concurrent batch gets through.
    WorkerTest::ThreadCount pool(3);
    StripRunner runner(30, 2);
    std::atomic<int> arrived{0};
    std::atomic<int> timedOut{0};
    QVERIFY(runner.runPhase([&](int) {
        ++arrived;
        QElapsedTimer timer;
        timer.start();
        while (arrived.load() < 3 && timer.elapsed() < 5000)
            QThread::yieldCurrentThread();
        if (arrived.load() < 3)
            ++timedOut;
    }));
    QCOMPARE(timedOut.load(), 0);
}

void TestStripRunner::failedTaskIsReported()
{
    for (int threads : {1, 3}) {
        WorkerTest::ThreadCount pool(threads);
        StripRunner runner(30, 2);
        std::atomic<int> ran{0};
        const bool ok = runner.runPhase([&](int strip) {
            ++ran;
            if (strip == runner.getStripCount() - 1)
                throw std::bad_alloc();
        });
        QVERIFY(!ok);
        QCOMPARE(ran.load(), runner.getStripCount());
        // The runner is usable afterwards.
        QVERIFY(runner.runPhase([](int) {}));
    }
}

void TestStripRunner::runsFromAPoolThreadWithoutDeadlock_data()
{
    QTest::addColumn<int>("poolThreads");
    QTest::newRow("pool of 1") << 1;
    QTest::newRow("pool of 2") << 2;
}

void TestStripRunner::runsFromAPoolThreadWithoutDeadlock()
{
    // A batch run calls workers on a pool thread; a runner planned for more threads than the
    // pool has free must still finish.
    QFETCH(int, poolThreads);
    WorkerTest::ThreadCount pool(poolThreads);
    std::atomic<int> ran{0};
    // Qt's pool hands its task over under locks the thread sanitizer cannot see: the task
    // carries nothing and takes its work, and gives its result, under a standard mutex.
    static std::mutex mutex;
    static std::function<bool()> work;
    static std::condition_variable finished;
    static int result = -1;
    {
        std::lock_guard<std::mutex> lock(mutex);
        result = -1;
        work = [&ran]() {
            StripRunner runner(40, 2, 4);
            bool ok = true;
            for (int phase = 0; phase < 5; ++phase)
                ok = runner.runPhase([&ran](int) { ++ran; }) && ok;
            return ok;
        };
    }
    QThreadPool::globalInstance()->start([]() {
        std::function<bool()> mine;
        {
            std::lock_guard<std::mutex> lock(mutex);
            mine.swap(work);
        }
        const bool ok = mine();
        std::lock_guard<std::mutex> lock(mutex);
        result = ok ? 1 : 0;
        finished.notify_all();
    });
    std::unique_lock<std::mutex> lock(mutex);
    QVERIFY(finished.wait_for(lock, std::chrono::seconds(20), []() { return result >= 0; }));
    QCOMPARE(result, 1);
    QCOMPARE(ran.load(), 20);
}

CELVANE_TEST_MAIN(TestStripRunner)
#include "tst_striprunner.moc"
