#include "Core/Operations/cellneighborhood.h"
#include "Model/Automaton/totalvolume.h"
#include "testmain.h"

#include <set>
#include <tuple>
#include <vector>

using Core::Operations::CellNeighborhood;

class TestCellNeighborhood : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faceTableOrder();
    void mooreTableOrder();
    void indicesMatchTheVolume();
    void neighboursInsideTheVolume_data();
    void neighboursInsideTheVolume();
    void anyNeighbourStopsAtTheFirst();
};

void TestCellNeighborhood::faceTableOrder()
{
    const qint32 expected[6][3] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0},
                                   {0, 1, 0},  {-1, 0, 0}, {1, 0, 0}};
    for (int k = 0; k < 6; ++k)
        for (int a = 0; a < 3; ++a)
            QCOMPARE(CellNeighborhood::faceOffsets[k][a], expected[k][a]);
}

void TestCellNeighborhood::mooreTableOrder()
{
    // Lexicographic, dx slowest, dz fastest, without (0,0,0).
    int k = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dz = -1; dz <= 1; ++dz) {
                if (dx == 0 && dy == 0 && dz == 0)
                    continue;
                QCOMPARE(CellNeighborhood::mooreOffsets[k][0], dx);
                QCOMPARE(CellNeighborhood::mooreOffsets[k][1], dy);
                QCOMPARE(CellNeighborhood::mooreOffsets[k][2], dz);
                ++k;
            }
    QCOMPARE(k, 26);
}

void TestCellNeighborhood::indicesMatchTheVolume()
{
    Model::Automaton::TotalVolume::Ptr v =
        Model::Automaton::TotalVolume::createFilled(3, 4, 5, 1, 1, 1, Util::Vector3D(), 1);
    CellNeighborhood n(3, 4, 5);
    QCOMPARE(n.index(2, 3, 4), quint64(59));
    quint32 x, y, z;
    n.coordinates(59, x, y, z);
    QCOMPARE(std::make_tuple(x, y, z), std::make_tuple(2u, 3u, 4u));
    const quint64 centre = v->getCellIndex(1, 1, 1);
    for (int k = 0; k < 26; ++k) {
        const qint32 *o = CellNeighborhood::mooreOffsets[k];
        QCOMPARE(qint64(centre) + n.getMooreDelta(k),
                 qint64(v->getCellIndex(1 + o[0], 1 + o[1], 1 + o[2])));
    }
    for (int k = 0; k < 6; ++k) {
        const qint32 *o = CellNeighborhood::faceOffsets[k];
        QCOMPARE(qint64(centre) + n.getFaceDelta(k),
                 qint64(v->getCellIndex(1 + o[0], 1 + o[1], 1 + o[2])));
    }
}

void TestCellNeighborhood::neighboursInsideTheVolume_data()
{
    QTest::addColumn<quint32>("x");
    QTest::addColumn<quint32>("y");
    QTest::addColumn<quint32>("z");
    QTest::addColumn<int>("moore");
    QTest::addColumn<int>("faces");
    // In a 4 x 3 x 5 volume.
    QTest::newRow("interior") << 1u << 1u << 2u << 26 << 6;
    QTest::newRow("corner") << 0u << 0u << 0u << 7 << 3;
    QTest::newRow("far corner") << 3u << 2u << 4u << 7 << 3;
    QTest::newRow("edge") << 0u << 1u << 0u << 11 << 4;
    QTest::newRow("face") << 1u << 1u << 4u << 17 << 5;
}

void TestCellNeighborhood::neighboursInsideTheVolume()
{
    QFETCH(quint32, x);
    QFETCH(quint32, y);
    QFETCH(quint32, z);
    QFETCH(int, moore);
    QFETCH(int, faces);
    CellNeighborhood n(4, 3, 5);
    const quint64 i = n.index(x, y, z);
    std::vector<quint64> visited;
    std::set<quint64> expected;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dz = -1; dz <= 1; ++dz) {
                const qint64 nx = qint64(x) + dx, ny = qint64(y) + dy, nz = qint64(z) + dz;
                if ((dx || dy || dz) && nx >= 0 && nx < 4 && ny >= 0 && ny < 3 && nz >= 0 && nz < 5)
                    expected.insert(n.index(quint32(nx), quint32(ny), quint32(nz)));
            }
    n.forEachMooreNeighbor(i, x, y, z, [&](quint64 j, quint32 nx) {
        quint32 jx, jy, jz;
        n.coordinates(j, jx, jy, jz);
        QCOMPARE(jx, nx);
        visited.push_back(j);
    });
    QCOMPARE(int(visited.size()), moore);
    QCOMPARE(std::set<quint64>(visited.begin(), visited.end()), expected);
    QVERIFY(std::is_sorted(visited.begin(), visited.end())); // table order is index order
    int faceCount = 0;
    int lastK = -1;
    n.forEachFaceNeighbor(i, x, y, z, [&](int k, quint64 j, quint32) {
        QVERIFY(k > lastK);
        lastK = k;
        const qint32 *o = CellNeighborhood::faceOffsets[k];
        QCOMPARE(j, n.index(x + o[0], y + o[1], z + o[2]));
        ++faceCount;
    });
    QCOMPARE(faceCount, faces);
}

void TestCellNeighborhood::anyNeighbourStopsAtTheFirst()
{
    CellNeighborhood n(3, 3, 3);
    int asked = 0;
    QVERIFY(n.anyMooreNeighbor(n.index(1, 1, 1), 1, 1, 1, [&](quint64 j) {
        ++asked;
        return j == n.index(0, 0, 2); // the third entry of the table
    }));
    QCOMPARE(asked, 3);
    QVERIFY(!n.anyMooreNeighbor(n.index(0, 0, 0), 0, 0, 0, [](quint64) { return false; }));
}

CELVANE_TEST_MAIN(TestCellNeighborhood)
#include "tst_cellneighborhood.moc"
