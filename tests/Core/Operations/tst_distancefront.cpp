#include "Core/Operations/distancefront.h"
#include "testmain.h"

#include <limits>
#include <vector>

using Core::Operations::CellNeighborhood;
using Core::Operations::DistanceFront;
using Model::Automaton::Voxel;

class TestDistanceFront : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passCount_data();
    void passCount();
    void stepsScaleWithCellSizes();
    void relaxTakesTheShortestCandidate_data();
    void relaxTakesTheShortestCandidate();
    void relaxIgnoresTheOutside();
};

void TestDistanceFront::passCount_data()
{
    QTest::addColumn<float>("thickness");
    QTest::addColumn<float>("sx");
    QTest::addColumn<float>("sy");
    QTest::addColumn<float>("sz");
    QTest::addColumn<quint64>("passes");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // trunc(ceil(t / m) * 1.7071067811865475)
    QTest::newRow("2, unit cells") << 2.0f << 1.0f << 1.0f << 1.0f << quint64(3);
    QTest::newRow("2.5, unit cells") << 2.5f << 1.0f << 1.0f << 1.0f << quint64(5);
    QTest::newRow("10, unit cells") << 10.0f << 1.0f << 1.0f << 1.0f << quint64(17);
    QTest::newRow("1, unit cells") << 1.0f << 1.0f << 1.0f << 1.0f << quint64(1);
    QTest::newRow("0.1 rounds up to a layer") << 0.1f << 1.0f << 1.0f << 1.0f << quint64(1);
    QTest::newRow("smallest size counts") << 3.0f << 1.0f << 0.5f << 2.0f << quint64(10);
    QTest::newRow("0.35 high cells") << 1.0f << 1.0f << 1.0f << 0.35f << quint64(5);
    QTest::newRow("zero") << 0.0f << 1.0f << 1.0f << 1.0f << quint64(0);
    QTest::newRow("negative") << -3.0f << 1.0f << 1.0f << 1.0f << quint64(0);
    QTest::newRow("not a number") << nan << 1.0f << 1.0f << 1.0f << quint64(0);
    QTest::newRow("zero cell size") << 2.0f << 1.0f << 0.0f << 1.0f << quint64(0);
}

void TestDistanceFront::passCount()
{
    QFETCH(float, thickness);
    QFETCH(float, sx);
    QFETCH(float, sy);
    QFETCH(float, sz);
    QFETCH(quint64, passes);
    QCOMPARE(DistanceFront::passCount(thickness, sx, sy, sz), passes);
}

void TestDistanceFront::stepsScaleWithCellSizes()
{
    DistanceFront front(0.5f, 2.0f, 3.0f);
    const float expected[6][3] = {{0, 0, -3}, {0, 0, 3},     {0, -2, 0},
                                  {0, 2, 0},  {-0.5f, 0, 0}, {0.5f, 0, 0}};
    for (int k = 0; k < 6; ++k)
        for (int a = 0; a < 3; ++a)
            QCOMPARE(front.getStep(k)[a], expected[k][a]);
}

void TestDistanceFront::relaxTakesTheShortestCandidate_data()
{
    // Cell (1,1,1) of a 3 x 3 x 3 block of unit cells; its own distance is (9,9,9). Each row
    // sets the distances of some face neighbours, given by table entry.
    QTest::addColumn<QVector<int>>("entries");
    QTest::addColumn<QVector<float>>("distances");
    QTest::addColumn<float>("limit");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QVector<float>>("candidate");

    // Below: (0,0,0) + step (0,0,-1).
    QTest::newRow("source below") << QVector<int>{0} << QVector<float>{0, 0, 0} << 4.0f << true
                                  << QVector<float>{0, 0, -1};
    // Below offers (1,0,-1), above (1,0,1): equal length 2, the first in table order wins.
    QTest::newRow("tie goes to the first entry")
        << QVector<int>{0, 1} << QVector<float>{1, 0, 0, 1, 0, 0} << 4.0f << true
        << QVector<float>{1, 0, -1};
    // The -y neighbour offers (0,-1,0) + (0,-1,0) = (0,-2,0), the later -x neighbour
    // (0,0,0) + (-1,0,0): the later, shorter one wins.
    QTest::newRow("later shorter candidate wins")
        << QVector<int>{2, 4} << QVector<float>{0, -1, 0, 0, 0, 0} << 4.0f << true
        << QVector<float>{-1, 0, 0};
    QTest::newRow("beyond the limit")
        << QVector<int>{0} << QVector<float>{0, 0, -1} << 3.9f << false << QVector<float>{};
    QTest::newRow("exactly at the limit")
        << QVector<int>{0} << QVector<float>{0, 0, -1} << 4.0f << true << QVector<float>{0, 0, -2};
}

void TestDistanceFront::relaxTakesTheShortestCandidate()
{
    QFETCH(QVector<int>, entries);
    QFETCH(QVector<float>, distances);
    QFETCH(float, limit);
    QFETCH(bool, found);
    QFETCH(QVector<float>, candidate);
    CellNeighborhood n(3, 3, 3);
    std::vector<Voxel> cells(27, Voxel(0));
    for (Voxel &v : cells)
        v.setDistance(9, 9, 9);
    const quint64 centre = n.index(1, 1, 1);
    for (int e = 0; e < entries.size(); ++e) {
        const int k = entries[e];
        cells[size_t(qint64(centre) + n.getFaceDelta(k))].setDistance(
            distances[3 * e], distances[3 * e + 1], distances[3 * e + 2]);
    }
    DistanceFront front(1, 1, 1);
    float result[3] = {0, 0, 0};
    QCOMPARE(front.relax(cells.data(), n, centre, 1, 1, 1, limit, result), found);
    if (found)
        for (int a = 0; a < 3; ++a)
            QCOMPARE(result[a], candidate[a]);
}

void TestDistanceFront::relaxIgnoresTheOutside()
{
    // A 1 x 1 x 2 volume: the cell at z = 1 has one face neighbour, below.
    CellNeighborhood n(1, 1, 2);
    std::vector<Voxel> cells(2, Voxel(0));
    cells[0].setDistance(5, 5, 5);
    cells[1].setDistance(1, 1, 1);
    DistanceFront front(1, 1, 1);
    float result[3];
    QVERIFY(!front.relax(cells.data(), n, 1, 0, 0, 1, 100.0f, result));
    cells[0].setDistance(0, 0, 0);
    QVERIFY(front.relax(cells.data(), n, 1, 0, 0, 1, 100.0f, result));
    QCOMPARE(result[2], -1.0f);
}

CELVANE_TEST_MAIN(TestDistanceFront)
#include "tst_distancefront.moc"
