#ifndef CELVANE_TESTS_WORKERTESTUTIL_H
#define CELVANE_TESTS_WORKERTESTUTIL_H

#include "Model/Automaton/totalvolume.h"
#include "Util/debuglog.h"

#include <QLoggingCategory>
#include <QThreadPool>
#include <QtTest>

#include <atomic>
#include <mutex>
#include <thread>

#include <functional>
#include <vector>

/// Helpers shared by the worker tests: volumes described by a function of the cell position,
/// snapshots of their cells, and the global pool's thread count set for one scope.
namespace WorkerTest {

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

typedef std::function<quint32(quint32 x, quint32 y, quint32 z)> Shape;

inline TotalVolume::Ptr makeVolume(quint32 cx, quint32 cy, quint32 cz, const Shape &shape,
                                   float size = 1.0f)
{
    std::vector<quint32> ids(size_t(cx) * cy * cz);
    size_t i = 0;
    for (quint32 x = 0; x < cx; ++x)
        for (quint32 y = 0; y < cy; ++y)
            for (quint32 z = 0; z < cz; ++z)
                ids[i++] = shape(x, y, z);
    return TotalVolume::create(cx, cy, cz, size, size, size, Util::Vector3D(), ids);
}

/// The materials of the current array, in cell-index order.
inline std::vector<quint32> materials(TotalVolume &volume)
{
    const Voxel *cells = volume.lockCells();
    std::vector<quint32> ids(size_t(volume.getCellCount()));
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = cells[i].material;
    volume.releaseCells();
    return ids;
}

/// True when both arrays hold the same material in every cell, as they must between processes.
inline bool arraysAgree(TotalVolume &volume)
{
    const Voxel *cells = volume.lockCells();
    const Voxel *next = volume.lockNextCells();
    bool agree = true;
    for (quint64 i = 0; i < volume.getCellCount() && agree; ++i)
        agree = cells[i].material == next[i].material;
    volume.releaseNextCells();
    volume.releaseCells();
    return agree;
}

inline quint32 materialAt(TotalVolume &volume, quint32 x, quint32 y, quint32 z)
{
    const Voxel *cells = volume.lockCells();
    const quint32 id = cells[volume.getCellIndex(x, y, z)].material;
    volume.releaseCells();
    return id;
}

/// Every field a process may write, of both arrays.
struct Snapshot
{
    std::vector<quint32> material;
    std::vector<quint32> nextMaterial;
    std::vector<bool> fixed;
    std::vector<float> distance;
};

inline Snapshot snapshot(TotalVolume &volume)
{
    Snapshot s;
    const Voxel *cells = volume.lockCells();
    const Voxel *next = volume.lockNextCells();
    for (quint64 i = 0; i < volume.getCellCount(); ++i) {
        s.material.push_back(cells[i].material);
        s.nextMaterial.push_back(next[i].material);
        s.fixed.push_back(cells[i].fixed);
        for (int a = 0; a < 3; ++a)
            s.distance.push_back(cells[i].distance[a]);
    }
    volume.releaseNextCells();
    volume.releaseCells();
    return s;
}

inline bool operator==(const Snapshot &a, const Snapshot &b)
{
    return a.material == b.material && a.nextMaterial == b.nextMaterial && a.fixed == b.fixed &&
           a.distance == b.distance;
}

/// Sets the global pool's maximum thread count for one scope.
class ThreadCount
{
public:
    explicit ThreadCount(int count) : saved(QThreadPool::globalInstance()->maxThreadCount())
    {
        QThreadPool::globalInstance()->setMaxThreadCount(count);
    }
    ~ThreadCount() { QThreadPool::globalInstance()->setMaxThreadCount(saved); }

private:
    int saved;
};

/// A structure with something of everything: a two-material base with trenches and a
/// cavity, pillars, a bridge (overhang) and a buried block, deterministic.
inline quint32 mixedStructure(quint32 x, quint32 y, quint32 z)
{
    const quint32 h = (x * 7u + y * 13u) % 5u; // uneven surface
    if (z < 2)
        return 1;
    if (z < 4 + h % 3 && (x % 9u) > 2)
        return (x + y) % 4 == 0 ? 2 : 1;
    if (z >= 9 && z < 11 && y > 1 && y < 7) // a bridge across the volume
        return 2;
    if ((x % 11u) == 5 && (y % 4u) == 1 && z < 12) // pillars
        return 1;
    return 0;
}

/// True when run() does not finish while the current cell array is locked elsewhere and does
/// finish once it is released: the worker holds the volume's locks for its computation.
inline bool waitsForTheCellLock(TotalVolume &volume, const std::function<void()> &run)
{
    volume.lockCells();
    std::atomic<bool> done{false};
    // A plain thread: its start and join are hand-overs the thread sanitizer sees.
    std::thread thread([&]() {
        run();
        done = true;
    });
    QThread::msleep(100);
    const bool waited = !done.load();
    volume.releaseCells();
    thread.join();
    return waited && done.load();
}

/// Collects the debug messages written while it exists, with their source file and function.
class DebugCapture
{
public:
    struct Message
    {
        QString text;
        QString file;
        QString function;
    };

    DebugCapture() : previous(qInstallMessageHandler(&DebugCapture::handle))
    {
        current() = this;
        // The suite may switch debug output off (QT_LOGGING_RULES); the capture needs it.
        previousFilter() = QLoggingCategory::installFilter(&DebugCapture::enableDebug);
    }
    ~DebugCapture()
    {
        QLoggingCategory::installFilter(previousFilter());
        qInstallMessageHandler(previous);
        current() = nullptr;
    }
    /// Messages in the order written.
    QList<Message> messages() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return list;
    }
    /// The first message that starts with prefix, or an empty one.
    Message find(const QString &prefix) const
    {
        for (const Message &m : messages())
            if (m.text.startsWith(prefix))
                return m;
        return Message();
    }

private:
    static DebugCapture *&current()
    {
        static DebugCapture *capture = nullptr;
        return capture;
    }
    static QLoggingCategory::CategoryFilter &previousFilter()
    {
        static QLoggingCategory::CategoryFilter filter = nullptr;
        return filter;
    }
    static void enableDebug(QLoggingCategory *category)
    {
        if (previousFilter())
            previousFilter()(category);
        if (qstrcmp(category->categoryName(), "default") == 0)
            category->setEnabled(QtDebugMsg, true);
    }
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        DebugCapture *capture = current();
        if (!capture || type != QtDebugMsg)
            return;
        std::lock_guard<std::mutex> lock(capture->mutex);
        capture->list.append({text, Util::DebugLog::belowSourceRoot(context.file),
                              QString::fromLatin1(context.function ? context.function : "")});
    }

    QtMessageHandler previous;
    mutable std::mutex mutex; // workers log too; a lock the thread sanitizer sees
    QList<Message> list;
};

/// Runs a worker that must leave the material of every cell, in both arrays, as it was: refused
/// with a message that contains reason, or, when refused is false, accepted as a run with
/// nothing to do.
template <class Run>
inline void checkUnchanged(TotalVolume &volume, bool refused, const QString &reason, Run run)
{
    const std::vector<quint32> before = materials(volume);
    QString error;
    QCOMPARE(run(&error), !refused);
    if (refused)
        QVERIFY2(!error.isEmpty() && error.contains(reason), qPrintable(error));
    QCOMPARE(materials(volume), before);
    QVERIFY(arraysAgree(volume));
}

/// One row per thread count, named after it.
inline void threadRows(std::initializer_list<int> counts)
{
    QTest::addColumn<int>("threads");
    for (int n : counts)
        QTest::addRow("%d", n) << n;
}

/// A row of a thread-agreement test: the volume's width, the threads, the strips expected.
struct ThreadRow
{
    quint32 cellsX;
    int threads;
    int strips;
};

/// Rows for a thread-agreement test: a volume 40 cells wide split into one strip per thread,
/// and the extra rows (by default narrow volumes the worker runs as a single strip).
inline void threadAgreementRows(std::initializer_list<ThreadRow> extra = {{5, 3, 1}, {9, 5, 1}})
{
    QTest::addColumn<quint32>("cellsX");
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("strips");
    for (int threads : {2, 3, 5})
        QTest::addRow("%d threads", threads) << 40u << threads << threads;
    for (const ThreadRow &row : extra)
        QTest::addRow("%u wide, %d threads", row.cellsX, row.threads)
            << row.cellsX << row.threads << row.strips;
}

/// Runs a worker on two copies of the mixed structure (the row's width), once with one thread
/// and once with the row's thread count, where it must split into the row's strips. Every field
/// of every cell must agree, the run must have changed something, and both arrays of the split
/// run must agree. make(volume) returns the configured worker, run(worker, error) runs it.
/// Without a volume the worker must refuse with a message; while the cells are locked elsewhere
/// it must wait.
template <class Make, class Run> inline void checkThreadAgreement(Make make, Run run)
{
    QFETCH(quint32, cellsX);
    QFETCH(int, threads);
    QFETCH(int, strips);
    TotalVolume::Ptr single = makeVolume(cellsX, 9, 14, mixedStructure);
    TotalVolume::Ptr split = makeVolume(cellsX, 9, 14, mixedStructure);
    const std::vector<quint32> before = materials(*single);
    {
        ThreadCount pool(1);
        auto worker = make(single.get());
        QVERIFY(run(worker, nullptr));
    }
    {
        ThreadCount pool(threads);
        auto worker = make(split.get());
        QCOMPARE(worker.getStripCount(), strips);
        QVERIFY(run(worker, nullptr));
    }
    QVERIFY(snapshot(*single) == snapshot(*split));
    QVERIFY(materials(*split) != before);
    QVERIFY(arraysAgree(*split));
    if (threads == 2) { // once per case: the worker holds the volume's lock for its computation
        TotalVolume::Ptr locked = makeVolume(cellsX, 9, 14, mixedStructure);
        QVERIFY(waitsForTheCellLock(*locked, [&]() {
            auto worker = make(locked.get());
            run(worker, nullptr);
        }));
        QVERIFY(snapshot(*locked) == snapshot(*single));
    }
    auto orphan = make(nullptr);
    QString error;
    QVERIFY(!run(orphan, &error));
    QVERIFY(!error.isEmpty());
}

/// Number of cells of one material.
inline int countMaterial(const std::vector<quint32> &ids, quint32 material)
{
    int n = 0;
    for (quint32 id : ids)
        n += id == material;
    return n;
}

} // namespace WorkerTest

#endif
