#include "Model/Automaton/totalvolume.h"
#include "Util/systemmemory.h"
#include "testmain.h"

#include <atomic>
#include <thread>
#include <vector>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace {

TotalVolume::Ptr makeVolume(quint32 x, quint32 y, quint32 z, quint32 material = 1)
{
    QString error;
    TotalVolume::Ptr v =
        TotalVolume::createFilled(x, y, z, 1.0f, 1.0f, 1.0f, Util::Vector3D(), material, &error);
    if (!v)
        qWarning() << error;
    return v;
}

} // namespace

class TestTotalVolume : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void addressingRoundTrips_data();
    void addressingRoundTrips();
    void constructionTakesMaterialsInIndexOrder();
    void wrongMaterialCountIsRefused();
    void cloneCarriesModifiedCellsOnly();
    void clearingAMaskKeepsItsSize();
    void swapCellsExchangesGenerations();
    void spinLockIsExclusive();
    void unallocatableVolumesAreRefused_data();
    void unallocatableVolumesAreRefused();
    void refusalFollowsAvailableMemory();
};

void TestTotalVolume::cleanup()
{
    Util::SystemMemory::setAvailableBytesOverride(0);
}

void TestTotalVolume::addressingRoundTrips_data()
{
    QTest::addColumn<quint32>("cx");
    QTest::addColumn<quint32>("cy");
    QTest::addColumn<quint32>("cz");
    QTest::newRow("1x1x1") << 1u << 1u << 1u;
    QTest::newRow("1x1x7") << 1u << 1u << 7u;
    QTest::newRow("7x1x1") << 7u << 1u << 1u;
    QTest::newRow("3x5x7") << 3u << 5u << 7u;
    QTest::newRow("13x1x11") << 13u << 1u << 11u;
    QTest::newRow("2x17x3") << 2u << 17u << 3u;
}

void TestTotalVolume::addressingRoundTrips()
{
    QFETCH(quint32, cx);
    QFETCH(quint32, cy);
    QFETCH(quint32, cz);
    TotalVolume::Ptr v = makeVolume(cx, cy, cz);
    QVERIFY(v);
    quint64 expected = 0;
    // z fastest, x slowest: walking in that nesting visits 0, 1, 2, ... in order.
    for (quint32 x = 0; x < cx; ++x)
        for (quint32 y = 0; y < cy; ++y)
            for (quint32 z = 0; z < cz; ++z) {
                QCOMPARE(v->getCellIndex(x, y, z), expected);
                quint32 dx, dy, dz;
                v->getCellCoordinates(expected, dx, dy, dz);
                QCOMPARE(dx, x);
                QCOMPARE(dy, y);
                QCOMPARE(dz, z);
                ++expected;
            }
    QCOMPARE(expected, v->getCellCount());
}

void TestTotalVolume::constructionTakesMaterialsInIndexOrder()
{
    // 2 x 2 x 3 with material = index + 1, so each cell tells where it was put.
    std::vector<quint32> ids(12);
    for (quint32 i = 0; i < 12; ++i)
        ids[i] = i + 1;
    TotalVolume::Ptr v =
        TotalVolume::create(2, 2, 3, 0.5f, 2.0f, 1.5f, Util::Vector3D(1, 2, 3), ids);
    QVERIFY(v);
    QCOMPARE(v->getCellSizeX(), 0.5f);
    QCOMPARE(v->getCellSizeY(), 2.0f);
    QCOMPARE(v->getCellSizeZ(), 1.5f);
    QCOMPARE(v->getPosition(), Util::Vector4D(1, 2, 3, 0));
    Voxel *cells = v->lockCells();
    Voxel *next = v->lockNextCells();
    QCOMPARE(cells[v->getCellIndex(1, 0, 2)].material, 1u * 2 * 3 + 0 * 3 + 2 + 1);
    QCOMPARE(cells[v->getCellIndex(0, 1, 0)].material, 4u);
    for (int i = 0; i < 12; ++i)
        QCOMPARE(next[i].material, cells[i].material);
    v->releaseNextCells();
    v->releaseCells();
}

void TestTotalVolume::wrongMaterialCountIsRefused()
{
    QString error;
    QVERIFY(
        !TotalVolume::create(2, 2, 2, 1, 1, 1, Util::Vector3D(), std::vector<quint32>(7), &error));
    QVERIFY(error.contains(QLatin1String("7 material ids")));
}

void TestTotalVolume::cloneCarriesModifiedCellsOnly()
{
    TotalVolume::Ptr v = makeVolume(3, 2, 4, 1);
    v->translate(Util::Vector4D(5, 6, 7, 99)); // a position, not a direction: w stays 0
    QCOMPARE(v->getPosition(), Util::Vector4D(5, 6, 7, 0));
    Voxel *cells = v->lockCells();
    cells[v->getCellIndex(2, 1, 3)].material = 9;
    cells[v->getCellIndex(2, 1, 3)].tag = 42;
    cells[v->getCellIndex(0, 0, 0)].fixed = true;
    v->releaseCells();
    v->setTopMask(std::vector<bool>(4, true), 2, 2);
    v->setColor(Util::Vector4D(0.1, 0.2, 0.3, 1));
    v->setSelected(true);

    TotalVolume::Ptr c = v->cloneVolume();
    QVERIFY(c);
    QVERIFY(c->getId() != v->getId());
    QCOMPARE(c->getCellsX(), 3u);
    QCOMPARE(c->getCellsY(), 2u);
    QCOMPARE(c->getCellsZ(), 4u);
    QCOMPARE(c->getPosition(), v->getPosition());
    QVERIFY(c->getTopMask().empty());
    QVERIFY(c->getBottomMask().empty());
    QCOMPARE(c->getColor(), Util::Vector4D(0, 0, 0, 1));
    QVERIFY(!c->isSelected());
    Voxel *copy = c->lockCells();
    QCOMPARE(copy[c->getCellIndex(2, 1, 3)].material, 9u);
    QCOMPARE(copy[c->getCellIndex(2, 1, 3)].tag, 0u);
    QCOMPARE(copy[c->getCellIndex(0, 0, 0)].fixed, false);
    QCOMPARE(copy[c->getCellIndex(1, 1, 1)].material, 1u);
    c->releaseCells();
    // The clone's arrays are its own.
    copy = c->lockCells();
    copy[0].material = 3;
    c->releaseCells();
    cells = v->lockCells();
    QCOMPARE(cells[0].material, 1u);
    v->releaseCells();
}

void TestTotalVolume::clearingAMaskKeepsItsSize()
{
    // A cleared mask hides nothing but keeps its size; the other mask stays as it was.
    TotalVolume::Ptr v = makeVolume(10, 10, 1);
    v->setTopMask(std::vector<bool>(100, true), 10, 10);
    v->setBottomMask(std::vector<bool>(6, true), 3, 2);
    v->clearTopMask();
    QVERIFY(v->getTopMask() == std::vector<bool>(100, false));
    quint32 w = 0, h = 0;
    v->getTopMaskSize(w, h);
    QCOMPARE(w, 10u);
    QCOMPARE(h, 10u);
    QVERIFY(v->getBottomMask() == std::vector<bool>(6, true));
}

void TestTotalVolume::swapCellsExchangesGenerations()
{
    TotalVolume::Ptr v = makeVolume(2, 1, 1, 1);
    Voxel *cells = v->lockCells();
    Voxel *next = v->lockNextCells();
    next[0].material = 5;
    v->swapCells();
    v->releaseNextCells();
    v->releaseCells();
    QCOMPARE(v->lockCells(), next);
    QCOMPARE(v->lockNextCells(), cells);
    QCOMPARE(next[0].material, 5u);
    v->releaseNextCells();
    v->releaseCells();
}

void TestTotalVolume::spinLockIsExclusive()
{
    // Unsynchronised read-modify-write under the lock, with a sleep now and then inside it: a
    // lock that lets two holders in at once is seen with both inside, or loses increments.
    TotalVolume::Ptr v = makeVolume(1, 1, 1, 0);
    const int threads = 4;
    const int rounds = 20000;
    std::atomic<int> inside{0};
    std::atomic<int> maxInside{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&]() {
            for (int i = 0; i < rounds; ++i) {
                Voxel *cells = v->lockCells();
                const int now = ++inside;
                int seen = maxInside.load();
                while (now > seen && !maxInside.compare_exchange_weak(seen, now)) {
                }
                volatile quint32 value = cells[0].tag;
                if (i % 4000 == 0)
                    QThread::msleep(2);
                cells[0].tag = value + 1;
                --inside;
                v->releaseCells();
            }
        });
    }
    for (std::thread &w : workers)
        w.join();
    QCOMPARE(maxInside.load(), 1);
    Voxel *cells = v->lockCells();
    QCOMPARE(cells[0].tag, quint32(threads * rounds));
    v->releaseCells();
}

void TestTotalVolume::unallocatableVolumesAreRefused_data()
{
    QTest::addColumn<quint32>("cx");
    QTest::addColumn<quint32>("cy");
    QTest::addColumn<quint32>("cz");
    QTest::addColumn<QString>("reason");
    QTest::newRow("zero x") << 0u << 10u << 10u << "at least one cell";
    QTest::newRow("zero z") << 10u << 10u << 0u << "at least one cell";
    QTest::newRow("10000 cubed") << 10000u << 10000u << 10000u << "memory";
    QTest::newRow("product overflows") << 0xffffffffu << 0xffffffffu << 0xffffffffu << "too large";
    QTest::newRow("past 2^32 cells") << 100000u << 100000u << 1000u << "memory";
}

void TestTotalVolume::unallocatableVolumesAreRefused()
{
    QFETCH(quint32, cx);
    QFETCH(quint32, cy);
    QFETCH(quint32, cz);
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!TotalVolume::checkAllocation(cx, cy, cz, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    error.clear();
    QVERIFY(!TotalVolume::createFilled(cx, cy, cz, 1, 1, 1, Util::Vector3D(), 1, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestTotalVolume::refusalFollowsAvailableMemory()
{
    // 100 x 100 x 100 cells in two arrays need 2 * 10^6 * sizeof(Voxel) bytes.
    const quint64 needed = 2ull * 1000000ull * sizeof(Voxel);
    Util::SystemMemory::setAvailableBytesOverride(needed);
    QString error;
    QVERIFY(!TotalVolume::createFilled(100, 100, 100, 1, 1, 1, Util::Vector3D(), 1, &error));
    QVERIFY2(error.contains(QLatin1String("100 x 100 x 100")), qPrintable(error));
    Util::SystemMemory::setAvailableBytesOverride(needed * 2);
    QVERIFY(TotalVolume::createFilled(100, 100, 100, 1, 1, 1, Util::Vector3D(), 1, &error));
}

CELVANE_TEST_MAIN(TestTotalVolume)
#include "tst_totalvolume.moc"
