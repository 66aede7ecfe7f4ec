#include "Model/Automaton/totalvolume.h"
#include "Model/Geometry/cellray.h"
#include "testmain.h"

#include <QtTest>

#include <vector>

using Model::Automaton::TotalVolume;
using Model::Geometry::CellRay;
using Util::Vector3D;

namespace {

/// 10 x 10 x 5 cells; the three lowest layers are filled except cell (4, 4, 2), a pit.
TotalVolume::Ptr pittedBlock(float cellSize, const Vector3D &position)
{
    std::vector<quint32> materials(10 * 10 * 5, 0);
    for (quint32 x = 0; x < 10; ++x)
        for (quint32 y = 0; y < 10; ++y)
            for (quint32 z = 0; z < 3; ++z)
                materials[(x * 10 + y) * 5 + z] = (x == 4 && y == 4 && z == 2) ? 0 : 1;
    return TotalVolume::create(10, 10, 5, cellSize, cellSize, cellSize, position, materials);
}

} // namespace

class TestCellRay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hitsTheFirstFilledCell_data();
    void hitsTheFirstFilledCell();
    void plane_data();
    void plane();
};

void TestCellRay::hitsTheFirstFilledCell_data()
{
    QTest::addColumn<float>("cellSize");
    QTest::addColumn<Vector3D>("position");
    QTest::addColumn<Vector3D>("origin");
    QTest::addColumn<Vector3D>("direction");
    QTest::addColumn<bool>("hit");
    QTest::addColumn<Vector3D>("point");
    QTest::addColumn<double>("t");

    const Vector3D zero(0, 0, 0);
    const Vector3D down(0, 0, -1);
    QTest::newRow("straight down onto the top face")
        << 1.0f << zero << Vector3D(2.5, 3.5, 100) << down << true << Vector3D(2.5, 3.5, 3) << 97.0;
    QTest::newRow("down into the pit reaches its floor")
        << 1.0f << zero << Vector3D(4.5, 4.5, 100) << down << true << Vector3D(4.5, 4.5, 2) << 98.0;
    QTest::newRow("cells of 2 at (10, 0, 0)") << 2.0f << Vector3D(10, 0, 0) << Vector3D(15, 3, 50)
                                              << down << true << Vector3D(15, 3, 6) << 44.0;
    QTest::newRow("beside the volume")
        << 1.0f << zero << Vector3D(12, 3, 100) << down << false << zero << 0.0;
    QTest::newRow("from the side onto a filled layer")
        << 1.0f << zero << Vector3D(-5, 0.5, 2.5) << Vector3D(1, 0, 0) << true
        << Vector3D(0, 0.5, 2.5) << 5.0;
    QTest::newRow("from the side through the empty layers")
        << 1.0f << zero << Vector3D(-5, 0.5, 3.5) << Vector3D(1, 0, 0) << false << zero << 0.0;
    // Starts in empty cell (0, 0, 4); crosses z = 4 at t = 0.5, x = 1 at t = 0.8 and z = 3
    // at t = 1.5, where cell (1, 0, 2) is the first filled one.
    QTest::newRow("diagonal walk from inside")
        << 1.0f << zero << Vector3D(0.2, 0.5, 4.5) << Vector3D(1, 0, -1) << true
        << Vector3D(1.7, 0.5, 3) << 1.5;
    QTest::newRow("from below onto the bottom face")
        << 1.0f << zero << Vector3D(7.5, 7.5, -10) << Vector3D(0, 0, 1) << true
        << Vector3D(7.5, 7.5, 0) << 10.0;
    QTest::newRow("pointing away")
        << 1.0f << zero << Vector3D(2.5, 3.5, 100) << Vector3D(0, 0, 1) << false << zero << 0.0;
}

void TestCellRay::hitsTheFirstFilledCell()
{
    QFETCH(float, cellSize);
    QFETCH(Vector3D, position);
    QFETCH(Vector3D, origin);
    QFETCH(Vector3D, direction);
    QFETCH(bool, hit);
    QFETCH(Vector3D, point);
    QFETCH(double, t);

    TotalVolume::Ptr volume = pittedBlock(cellSize, position);
    QVERIFY(volume);
    double at = -1.0;
    Vector3D found;
    QCOMPARE(CellRay(origin, direction).hitFilledCell(*volume, &at, &found), hit);
    if (!hit)
        return;
    QCOMPARE(at, t);
    for (int axis = 0; axis < 3; ++axis)
        QVERIFY2(qAbs(found[axis] - point[axis]) < 1e-9, qPrintable(QString::number(axis)));
}

void TestCellRay::plane_data()
{
    QTest::addColumn<Vector3D>("origin");
    QTest::addColumn<Vector3D>("direction");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("hit");
    QTest::addColumn<Vector3D>("point");

    QTest::newRow("slanted") << Vector3D(0, 0, 10) << Vector3D(1, 0, -1) << 0.0 << true
                             << Vector3D(10, 0, 0);
    QTest::newRow("raised plane") << Vector3D(1, 2, 10) << Vector3D(0, 0, -2) << 4.0 << true
                                  << Vector3D(1, 2, 4);
    QTest::newRow("parallel") << Vector3D(0, 0, 10) << Vector3D(1, 0, 0) << 0.0 << false
                              << Vector3D();
    QTest::newRow("behind") << Vector3D(0, 0, 10) << Vector3D(0, 0, 1) << 0.0 << false
                            << Vector3D();
}

void TestCellRay::plane()
{
    QFETCH(Vector3D, origin);
    QFETCH(Vector3D, direction);
    QFETCH(double, height);
    QFETCH(bool, hit);
    QFETCH(Vector3D, point);

    double t = 0.0;
    Vector3D found;
    QCOMPARE(CellRay(origin, direction).hitPlaneZ(height, &t, &found), hit);
    if (hit)
        QCOMPARE(found, point);
}

CELVANE_TEST_MAIN(TestCellRay)
#include "tst_cellray.moc"
