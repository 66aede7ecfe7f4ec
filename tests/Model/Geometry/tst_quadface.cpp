#include "Model/Geometry/clipplanes.h"
#include "Model/Geometry/quadface.h"
#include "Model/Geometry/quadfacelist.h"
#include "testmain.h"

#include <cmath>
#include <limits>

using Model::Geometry::ClipPlanes;
using Model::Geometry::QuadFace;
using Model::Geometry::QuadFaceList;

class TestQuadFace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windingIsCounterClockwiseFromOutside_data();
    void windingIsCounterClockwiseFromOutside();
    void listAllocatesExactly();
    void clipPlanesKeepTheInside_data();
    void clipPlanesKeepTheInside();
};

void TestQuadFace::windingIsCounterClockwiseFromOutside_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<float>("nx");
    QTest::addColumn<float>("ny");
    QTest::addColumn<float>("nz");
    QTest::newRow("bottom") << 0 << 0.0f << 0.0f << -1.0f;
    QTest::newRow("top") << 1 << 0.0f << 0.0f << 1.0f;
    QTest::newRow("front") << 2 << 0.0f << -1.0f << 0.0f;
    QTest::newRow("back") << 3 << 0.0f << 1.0f << 0.0f;
    QTest::newRow("left") << 4 << -1.0f << 0.0f << 0.0f;
    QTest::newRow("right") << 5 << 1.0f << 0.0f << 0.0f;
}

// The 3D view culls back faces: a face wound clockwise from outside would vanish. The cross
// product of two consecutive edges must point along the outward normal, for every corner; the
// four corners are the distinct corners of that face of the cell.
void TestQuadFace::windingIsCounterClockwiseFromOutside()
{
    QFETCH(int, side);
    QFETCH(float, nx);
    QFETCH(float, ny);
    QFETCH(float, nz);
    const float xs[2] = {2.0f, 2.5f}, ys[2] = {-1.0f, 1.0f}, zs[2] = {3.0f, 6.0f};
    const float *bounds[3] = {xs, ys, zs};
    const float n[3] = {nx, ny, nz};
    QuadFace face;
    face.setGeometry(side, xs, ys, zs);
    QCOMPARE(face.normal[0], nx);
    QCOMPARE(face.normal[1], ny);
    QCOMPARE(face.normal[2], nz);
    QSet<QString> corners;
    for (int v = 0; v < 4; ++v) {
        const float *a = face.vertices[v];
        const float *b = face.vertices[(v + 1) % 4];
        const float *c = face.vertices[(v + 2) % 4];
        const float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const float e2[3] = {c[0] - b[0], c[1] - b[1], c[2] - b[2]};
        const float cross[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                                e1[0] * e2[1] - e1[1] * e2[0]};
        const float dot = cross[0] * nx + cross[1] * ny + cross[2] * nz;
        const float length =
            std::sqrt(cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2]);
        QVERIFY2(dot > 0.0f && qFuzzyCompare(dot, length),
                 qPrintable(QStringLiteral("corner %1").arg(v)));
        for (int axis = 0; axis < 3; ++axis) {
            if (n[axis] != 0.0f)
                QCOMPARE(a[axis], bounds[axis][n[axis] > 0 ? 1 : 0]);
            else
                QVERIFY(a[axis] == bounds[axis][0] || a[axis] == bounds[axis][1]);
        }
        corners.insert(QStringLiteral("%1 %2 %3").arg(a[0]).arg(a[1]).arg(a[2]));
    }
    QCOMPARE(corners.size(), 4);
}

void TestQuadFace::listAllocatesExactly()
{
    QuadFaceList list;
    QVERIFY(list.isEmpty());
    QVERIFY(list.allocate(3));
    QCOMPARE(list.size(), std::size_t(3));
    QCOMPARE(std::size_t(list.end() - list.begin()), std::size_t(3));
    QCOMPARE(QuadFaceList::bytesFor(3), std::size_t(288));
    QVERIFY(list.allocate(0));
    QVERIFY(list.isEmpty());
    // A count whose byte size does not fit in memory addresses is refused, not wrapped.
    QVERIFY(!list.allocate(std::numeric_limits<std::size_t>::max() / 8));
    QVERIFY(list.isEmpty());
}

void TestQuadFace::clipPlanesKeepTheInside_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("z");
    QTest::addColumn<bool>("inside");
    QTest::newRow("centre") << 2.5 << 3.5 << 4.5 << true;
    QTest::newRow("on lower x plane") << 1.0 << 3.5 << 4.5 << true;
    QTest::newRow("on upper z plane") << 2.5 << 3.5 << 6.0 << true;
    QTest::newRow("below lower x") << 0.5 << 3.5 << 4.5 << false;
    QTest::newRow("above upper y") << 2.5 << 5.5 << 4.5 << false;
    QTest::newRow("below lower z") << 2.5 << 3.5 << 2.0 << false;
}

void TestQuadFace::clipPlanesKeepTheInside()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, z);
    QFETCH(bool, inside);
    // The box 1..4 x 2..5 x 3..6 as six planes (n, w): kept where n.p + w <= 0.
    ClipPlanes planes;
    planes.setPlanes({Util::Vector4D(-1, 0, 0, 1), Util::Vector4D(1, 0, 0, -4),
                      Util::Vector4D(0, -1, 0, 2), Util::Vector4D(0, 1, 0, -5),
                      Util::Vector4D(0, 0, -1, 3), Util::Vector4D(0, 0, 1, -6)});
    QCOMPARE(planes.getPlanes().size(), std::size_t(6));
    QCOMPARE(planes.contains(x, y, z), inside);
}

CELVANE_TEST_MAIN(TestQuadFace)

#include "tst_quadface.moc"
