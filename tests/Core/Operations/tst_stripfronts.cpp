#include "Core/Operations/stripfronts.h"
#include "testmain.h"
#include "workertestutil.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>
#include <set>
#include <vector>

using Core::Operations::StripFronts;
using Core::Operations::StripRunner;

namespace {

// A line of cells along x only: the index of a cell is its x.
typedef StripFronts::CellList CellList;

bool sortedWithoutRepeats(const CellList &list)
{
    for (size_t i = 1; i < list.size(); ++i)
        if (list[i - 1] >= list[i])
            return false;
    return true;
}

} // namespace

class TestStripFronts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filingRoutesByX();
    void filedCellsJoinTheOwnersFront_data() { WorkerTest::threadRows({1, 2, 3, 5}); }
    void filedCellsJoinTheOwnersFront();
    void passReadsTheStateAtItsStart_data() { WorkerTest::threadRows({1, 3, 5}); }
    void passReadsTheStateAtItsStart();
    void handOverListsAreCompleteWhenTaken();
    void failedFrontWorkRollsBack();
    void localPassKeepsCellsFiledAcrossStrips();
};

void TestStripFronts::filingRoutesByX()
{
    StripRunner runner(9, 2, 3); // strips [0,3), [3,6), [6,9)
    StripFronts fronts(runner, 1);
    StripFronts::Strip &middle = fronts.getStrip(1);
    QCOMPARE(middle.getFirstX(), 3u);
    QCOMPARE(middle.getEndX(), 6u);
    QVERIFY(fronts.runFiling([](StripFronts::Strip &strip, int index) {
        if (index != 1)
            return;
        for (int repeat = 0; repeat < 3; ++repeat) { // a cell filed again is listed once
            strip.file(2, 2);
            strip.file(3, 3);
            strip.file(5, 5);
            strip.file(6, 6);
        }
    }));
    QCOMPARE(middle.getLeftHandOver(), CellList({2}));
    QCOMPARE(middle.getRightHandOver(), CellList({6}));
    QCOMPARE(fronts.getStrip(0).getFront(), CellList({2}));
    QCOMPARE(middle.getFront(), CellList({3, 5}));
    QCOMPARE(fronts.getStrip(2).getFront(), CellList({6}));
    QCOMPARE(fronts.getFrontSize(), quint64(4));
}

void TestStripFronts::filedCellsJoinTheOwnersFront()
{
    // Every strip files, out of order and with repeats, its own border cells and those of both
    // neighbours; each front must end up as exactly the set of filed cells in its range.
    QFETCH(int, threads);
    const quint32 cellsX = 23;
    StripRunner runner(cellsX, 2, threads);
    StripFronts fronts(runner, 1);
    for (int pass = 0; pass < 3; ++pass) {
        QVERIFY(fronts.runFiling([&](StripFronts::Strip &strip, int) {
            const quint32 first = strip.getFirstX();
            const quint32 end = strip.getEndX();
            const quint32 cells[] = {end - 1, first, end, end - 1, first, first - 1, end};
            for (quint32 x : cells)
                if (x < cellsX) // first - 1 wraps for the first strip
                    strip.file(x, x);
        }));
        std::set<quint64> expected;
        for (int s = 0; s < runner.getStripCount(); ++s) {
            const quint32 first = runner.getFirstX(s);
            const quint32 end = runner.getEndX(s);
            for (quint32 x : {first, end - 1, first - 1, end})
                if (x < cellsX)
                    expected.insert(x);
        }
        std::set<quint64> found;
        for (int s = 0; s < fronts.getStripCount(); ++s) {
            const CellList &front = fronts.getStrip(s).getFront();
            QVERIFY(sortedWithoutRepeats(front));
            for (quint64 x : front) {
                QVERIFY(x >= runner.getFirstX(s) && x < runner.getEndX(s));
                found.insert(x);
            }
        }
        QCOMPARE(found, expected);
    }
}

void TestStripFronts::passReadsTheStateAtItsStart()
{
    // A one-dimensional automaton: a cell becomes 1 when a neighbour is 1. The front work reads
    // the current line and writes the next one; the copy-back makes it current. A pass that
    // saw another strip's copy-back would spread faster than one cell per pass somewhere.
    QFETCH(int, threads);
    const quint32 n = 40;
    StripRunner runner(n, 2, threads);
    StripFronts fronts(runner, 1);
    std::vector<int> line(n, 0), next(n, 0);
    line[0] = next[0] = 1;
    line[n - 1] = next[n - 1] = 1;
    std::atomic<int> frontWorkDone{0};
    std::atomic<int> earlyCopies{0};
    QVERIFY(fronts.runFiling([](StripFronts::Strip &strip, int) {
        for (quint32 x : {1u, 38u})
            if (x >= strip.getFirstX() && x < strip.getEndX())
                strip.file(x, x);
    }));
    for (int pass = 1; pass <= 10; ++pass) {
        frontWorkDone = 0;
        QVERIFY(fronts.runPass(
            [&](StripFronts::Strip &strip, int) {
                for (quint64 x : strip.getFront()) {
                    next[x] = 1;
                    for (qint64 nx : {qint64(x) - 1, qint64(x) + 1})
                        if (nx >= 0 && nx < qint64(n) && line[size_t(nx)] == 0)
                            strip.file(quint64(nx), quint32(nx));
                }
                if (strip.getFirstX() == 0)
                    QThread::msleep(5); // let other strips race ahead
                ++frontWorkDone;
            },
            [&](const CellList &front, int) {
                if (frontWorkDone.load() != runner.getStripCount())
                    ++earlyCopies;
                for (quint64 x : front)
                    line[x] = next[x];
            },
            StripFronts::CellWork()));
        for (quint32 x = 0; x < n; ++x)
            QCOMPARE(line[x], (x <= quint32(pass) || x >= n - 1 - quint32(pass)) ? 1 : 0);
    }
    QCOMPARE(earlyCopies.load(), 0);
}

void TestStripFronts::handOverListsAreCompleteWhenTaken()
{
    // Strip 1 files slowly for both neighbours, which finish their own work at once; they must
    // still receive every cell it filed.
    StripRunner runner(30, 2, 3);
    StripFronts fronts(runner, 1);
    QVERIFY(fronts.runFiling([](StripFronts::Strip &strip, int index) {
        if (index != 1)
            return;
        for (int i = 0; i < 50; ++i) {
            strip.file(quint64(strip.getFirstX() - 1), strip.getFirstX() - 1);
            strip.file(quint64(strip.getEndX() + i % 3), strip.getEndX() + i % 3);
            QThread::usleep(100);
        }
    }));
    QCOMPARE(fronts.getStrip(0).getFront(), CellList({9}));
    QCOMPARE(fronts.getStrip(2).getFront(), CellList({20, 21, 22}));
}

void TestStripFronts::failedFrontWorkRollsBack()
{
    StripRunner runner(30, 2, 3);
    StripFronts fronts(runner, 1);
    QVERIFY(fronts.runFiling(
        [](StripFronts::Strip &strip, int) { strip.file(strip.getFirstX(), strip.getFirstX()); }));
    std::atomic<int> copies{0};
    std::vector<quint64> rolledBack;
    std::mutex rolledBackMutex; // a lock the thread sanitizer sees, unlike Qt's
    const bool ok = fronts.runPass(
        [](StripFronts::Strip &, int index) {
            if (index == 2)
                throw std::bad_alloc();
        },
        [&](const CellList &, int) { ++copies; },
        [&](const CellList &front, int) {
            std::lock_guard<std::mutex> lock(rolledBackMutex);
            rolledBack.insert(rolledBack.end(), front.begin(), front.end());
        });
    QVERIFY(!ok);
    QCOMPARE(copies.load(), 0);
    std::sort(rolledBack.begin(), rolledBack.end());
    QCOMPARE(rolledBack, std::vector<quint64>({0, 10, 20}));
    QVERIFY(fronts.isEmpty());
    // Cells filed by the failed pass can be filed again.
    QVERIFY(fronts.runFiling(
        [](StripFronts::Strip &strip, int) { strip.file(strip.getFirstX(), strip.getFirstX()); }));
    QCOMPARE(fronts.getFrontSize(), quint64(3));
}

void TestStripFronts::localPassKeepsCellsFiledAcrossStrips()
{
    StripRunner runner(30, 2, 3);
    StripFronts fronts(runner, 1);
    QVERIFY(fronts.runLocalPass(
        [](StripFronts::Strip &strip, int) {
            strip.file(strip.getFirstX() + 1, strip.getFirstX() + 1);
            strip.file(strip.getFirstX() + 1, strip.getFirstX() + 1);
            strip.file(strip.getEndX(), strip.getEndX()); // beyond the strip
        },
        StripFronts::CellWork(), StripFronts::CellWork()));
    QCOMPARE(fronts.getStrip(0).getFront(), CellList({1}));
    QCOMPARE(fronts.getStrip(1).getFront(), CellList({10, 11}));
    QCOMPARE(fronts.getStrip(2).getFront(), CellList({20, 21}));
}

CELVANE_TEST_MAIN(TestStripFronts)
#include "tst_stripfronts.moc"
