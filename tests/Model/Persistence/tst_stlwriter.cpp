#include "Model/Automaton/marchingcubesurface.h"
#include "Model/Persistence/stlwriter.h"
#include "testmain.h"

#include <QtEndian>

#include <array>
#include <cstring>
#include <map>

using Model::Automaton::TotalVolume;
using Model::Persistence::StlWriter;

namespace {

typedef std::array<float, 3> Point;

struct Triangle
{
    Point normal;
    Point v[3];
};

float floatAt(const char *p)
{
    const quint32 bits = qFromLittleEndian<quint32>(p);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

/// The triangles of a binary STL file; empty when its size does not match its count.
QList<Triangle> readStl(const QString &fileName)
{
    QFile file(fileName);
    QList<Triangle> triangles;
    if (!file.open(QIODevice::ReadOnly))
        return triangles;
    const QByteArray data = file.readAll();
    if (data.size() < 84 || data.startsWith("solid"))
        return triangles;
    const quint32 count = qFromLittleEndian<quint32>(data.constData() + 80);
    if (quint64(data.size()) != 84 + quint64(count) * 50)
        return triangles;
    for (quint32 t = 0; t < count; ++t) {
        const char *p = data.constData() + 84 + t * 50;
        Triangle triangle;
        for (int i = 0; i < 3; ++i)
            triangle.normal[i] = floatAt(p + 4 * i);
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i < 3; ++i)
                triangle.v[k][i] = floatAt(p + 12 + 12 * k + 4 * i);
        triangles.append(triangle);
    }
    return triangles;
}

Point minus(const Point &a, const Point &b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Point cross(const Point &a, const Point &b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double dot(const Point &a, const Point &b)
{
    return double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2];
}

/// Checks that the triangles close a surface, wound alike, with normals along the winding, and
/// gives the volume they enclose (positive when the normals point outwards).
void checkClosed(const QList<Triangle> &read, double *enclosedVolume)
{
    double enclosed = 0.0;
    std::map<std::pair<Point, Point>, int> directed;
    for (const Triangle &t : read) {
        // The stored normal is the unit normal of the winding.
        const Point n = cross(minus(t.v[1], t.v[0]), minus(t.v[2], t.v[0]));
        QVERIFY(dot(n, t.normal) > 0.0);
        QVERIFY(qAbs(dot(t.normal, t.normal) - 1.0) < 1e-5);
        enclosed += dot(t.v[0], cross(t.v[1], t.v[2])) / 6.0;
        for (int k = 0; k < 3; ++k)
            ++directed[{t.v[k], t.v[(k + 1) % 3]}];
    }
    // Closed and consistently wound: each edge once each way, so two triangles per edge.
    for (const auto &edge : directed) {
        QCOMPARE(edge.second, 1);
        const auto reverse = directed.find({edge.first.second, edge.first.first});
        QVERIFY(reverse != directed.end() && reverse->second == 1);
    }
    *enclosedVolume = enclosed;
}

/// Writes the cells of the materials at the scale and reads the file back; empty on failure.
QList<Triangle> writeAndRead(TotalVolume &v, const QList<quint32> &materials, double scale)
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("surface.stl"));
    QString error;
    if (!StlWriter::write(v, fileName, materials, scale, &error))
        qWarning() << error;
    return readStl(fileName);
}

// 3 x 3 x 2 cells of 0.5 x 1 x 2 at (1, -2, 0.5): material 1 as an L of three cells in the
// bottom layer, (0,0,0), (1,0,0) and (0,1,0); material 2 in (1,1,0) and (1,1,1), a column
// touching the L on two faces.
TotalVolume::Ptr makeVolume()
{
    std::vector<quint32> materials(3 * 3 * 2, 0);
    auto at = [](quint32 x, quint32 y, quint32 z) { return (x * 3 + y) * 2 + z; };
    materials[at(0, 0, 0)] = materials[at(1, 0, 0)] = materials[at(0, 1, 0)] = 1;
    materials[at(1, 1, 0)] = materials[at(1, 1, 1)] = 2;
    return TotalVolume::create(3, 3, 2, 0.5f, 1.0f, 2.0f, Util::Vector3D(1.0, -2.0, 0.5),
                               materials);
}

} // namespace

class TestStlWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void closedOutwardSurface_data();
    void closedOutwardSurface();
    void touchingCellsStayManifold_data();
    void touchingCellsStayManifold();
    void materialsFound();
    void marchingCubesSurfaceIsClosed();
    void badScaleOrFolderLeavesNoFile();
};

void TestStlWriter::closedOutwardSurface_data()
{
    QTest::addColumn<quint32>("material");
    QTest::addColumn<int>("triangles");
    QTest::addColumn<double>("volume");
    // The L: 3 cubes, 18 faces less 2 shared twice = 14 faces. The column: 2 cubes, 10 faces.
    // A cell holds 0.5 * 1 * 2 = 1 world unit cubed, 8 at scale 2.
    QTest::newRow("L") << 1u << 28 << 3 * 8.0;
    QTest::newRow("column") << 2u << 20 << 2 * 8.0;
}

void TestStlWriter::closedOutwardSurface()
{
    QFETCH(quint32, material);
    QFETCH(int, triangles);
    QFETCH(double, volume);
    TotalVolume::Ptr v = makeVolume();
    QVERIFY(v);
    const QList<Triangle> read = writeAndRead(*v, {material}, 2.0);
    QCOMPARE(read.size(), triangles);
    double enclosed = 0.0;
    checkClosed(read, &enclosed);
    if (QTest::currentTestFailed())
        return;
    // Positive only when the normals point outwards.
    QVERIFY(qAbs(enclosed - volume) < 1e-4);
}

void TestStlWriter::touchingCellsStayManifold_data()
{
    QTest::addColumn<QList<int>>("cells"); // x, y, z of each cell of material 1 in 2 x 2 x 2
    QTest::addColumn<int>("triangles");
    // Edge: the lower-index cube carries a midpoint on the shared edge in its two faces there,
    // 5 triangles each instead of 2: 8 + 10 + 12.
    QTest::newRow("edge") << QList<int>{0, 0, 0, 1, 1, 0} << 30;
    // Corner: no edge is shared, so the two cubes stay as they are.
    QTest::newRow("corner") << QList<int>{0, 0, 0, 1, 1, 1} << 24;
    // Two columns touching along two edges in a row: 4 faces of 5 triangles in the first column.
    QTest::newRow("edge of two cells") << QList<int>{0, 0, 0, 0, 0, 1, 1, 1, 0, 1, 1, 1} << 52;
    // Four cubes, each touching the other three along an edge (indices 0 < 3 < 5 < 6): they carry
    // 3, 2, 1 and 0 split edges. Inner faces with two midpoints take 6 triangles, with one 5:
    // 18 + 6, 16 + 6, 10 + 2 + 6, 12.
    QTest::newRow("checkerboard") << QList<int>{0, 0, 0, 1, 1, 0, 1, 0, 1, 0, 1, 1} << 76;
}

void TestStlWriter::touchingCellsStayManifold()
{
    QFETCH(QList<int>, cells);
    QFETCH(int, triangles);
    std::vector<quint32> materials(8, 0);
    for (int i = 0; i < cells.size(); i += 3)
        materials[size_t((cells[i] * 2 + cells[i + 1]) * 2 + cells[i + 2])] = 1;
    TotalVolume::Ptr v =
        TotalVolume::create(2, 2, 2, 1.0f, 1.0f, 1.0f, Util::Vector3D(0, 0, 0), materials);
    QVERIFY(v);
    const QList<Triangle> read = writeAndRead(*v, {1u}, 1.0);
    QCOMPARE(read.size(), triangles);
    double enclosed = 0.0;
    checkClosed(read, &enclosed);
    if (QTest::currentTestFailed())
        return;
    // Unit cubes with coordinates that floats hold exactly: the volume is exact.
    QCOMPARE(enclosed, double(cells.size() / 3));
}

void TestStlWriter::marchingCubesSurfaceIsClosed()
{
    TotalVolume::Ptr v = makeVolume();
    Model::Automaton::MarchingCubeSurface surface(v.get());
    const quint32 lower[3] = {0, 0, 0}, upper[3] = {3, 3, 2};
    QVERIFY(surface.rebuild(lower, upper));
    QVERIFY(surface.getTriangleCount() > 0);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("smooth.stl"));
    QString error;
    QVERIFY2(
        StlWriter::writeTriangles(surface.getTriangles(), v->getPosition(), 1.0, fileName, &error),
        qPrintable(error));
    const QList<Triangle> read = readStl(fileName);
    QCOMPARE(size_t(read.size()), surface.getTriangleCount());
    double enclosed = 0.0;
    checkClosed(read, &enclosed);
    // Vertices at the midpoints between cell centres: less than the 5 cells, but outwards.
    QVERIFY2(enclosed > 0.0 && enclosed < 5.0, qPrintable(QString::number(enclosed)));
}

void TestStlWriter::materialsFound()
{
    TotalVolume::Ptr v = makeVolume();
    QCOMPARE(StlWriter::materialsIn(*v), (QList<quint32>{1, 2}));
}

void TestStlWriter::badScaleOrFolderLeavesNoFile()
{
    TotalVolume::Ptr v = makeVolume();
    QTemporaryDir dir;
    QString error;
    QVERIFY(!StlWriter::write(*v, dir.filePath(QStringLiteral("a.stl")), {1}, -1.0, &error));
    QVERIFY(!error.isEmpty());
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    error.clear();
    QVERIFY(!StlWriter::write(*v, blocker + QStringLiteral("/b.stl"), {1}, 1.0, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{QStringLiteral("blocker")});
}

CELVANE_TEST_MAIN(TestStlWriter)
#include "tst_stlwriter.moc"
