#include "Model/Automaton/marchingcubesurface.h"
#include "Model/Automaton/totalvolume.h"
#include "Util/systemmemory.h"
#include "testmain.h"
#include "workertestutil.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

using Model::Automaton::MarchingCubeSurface;
using Model::Automaton::TotalVolume;
using Model::Automaton::Triangle;

namespace {

typedef std::array<float, 3> Point;

/// Closedness, orientation and enclosed volume of a triangle mesh.
struct MeshCheck
{
    /// Directed edges without exactly one opposite partner: 0 for a closed surface whose
    /// triangles all wind the same way.
    int badEdges = 0;
    /// By the divergence theorem; positive when the normals point outwards.
    double volume = 0.0;
};

MeshCheck checkMesh(const std::vector<Triangle> &triangles)
{
    std::map<std::pair<Point, Point>, int> directed;
    MeshCheck result;
    for (const Triangle &t : triangles) {
        Point p[3];
        for (int v = 0; v < 3; ++v)
            std::copy(t.vertices[v].position, t.vertices[v].position + 3, p[v].begin());
        for (int v = 0; v < 3; ++v)
            ++directed[std::make_pair(p[v], p[(v + 1) % 3])];
        const double cross[3] = {double(p[1][1]) * p[2][2] - double(p[1][2]) * p[2][1],
                                 double(p[1][2]) * p[2][0] - double(p[1][0]) * p[2][2],
                                 double(p[1][0]) * p[2][1] - double(p[1][1]) * p[2][0]};
        result.volume += (p[0][0] * cross[0] + p[0][1] * cross[1] + p[0][2] * cross[2]) / 6.0;
    }
    for (const auto &edge : directed) {
        const auto back = directed.find(std::make_pair(edge.first.second, edge.first.first));
        if (edge.second != 1 || back == directed.end() || back->second != 1)
            ++result.badEdges;
    }
    return result;
}

std::vector<Triangle> build(TotalVolume &v, const quint32 lower[3], const quint32 upper[3],
                            quint32 material = 0)
{
    MarchingCubeSurface surface(&v);
    if (!surface.rebuild(lower, upper, material))
        return std::vector<Triangle>();
    return surface.getTriangles();
}

std::vector<Triangle> buildAll(TotalVolume &v, quint32 material = 0)
{
    const quint32 lower[3] = {0, 0, 0};
    const quint32 upper[3] = {v.getCellsX(), v.getCellsY(), v.getCellsZ()};
    return build(v, lower, upper, material);
}

bool sameTriangles(const std::vector<Triangle> &a, const std::vector<Triangle> &b)
{
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(Triangle)) == 0;
}

} // namespace

class TestMarchingCubeSurface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void singleCellIsAClosedOctahedron_data();
    void singleCellIsAClosedOctahedron();
    void solidBlockIsClosedAndFacesOutwards();
    void oneMaterialAloneIsClosed_data();
    void oneMaterialAloneIsClosed();
    void sameTrianglesForEveryThreadCount_data();
    void sameTrianglesForEveryThreadCount();
    void trianglesThatDoNotFitAreRefused();
};

void TestMarchingCubeSurface::singleCellIsAClosedOctahedron_data()
{
    QTest::addColumn<quint32>("filled"); // 0: only the cell (x, y, z); else every cell
    QTest::addColumn<QVector<uint>>("cell");
    QTest::addColumn<QVector<uint>>("lower");
    QTest::addColumn<QVector<uint>>("upper");
    QTest::addColumn<int>("triangles");
    const QVector<uint> whole{0, 0, 0}, end{3, 3, 3};
    QTest::newRow("corner cell, no cut") << 0u << QVector<uint>{0, 0, 0} << whole << end << 8;
    QTest::newRow("far corner cell") << 0u << QVector<uint>{2, 2, 2} << whole << end << 8;
    QTest::newRow("middle cell") << 0u << QVector<uint>{1, 1, 1} << whole << end << 8;
    // A full volume cut down to its middle cell: the box alone decides what is enclosed.
    QTest::newRow("full volume cut to one cell")
        << 1u << QVector<uint>{1, 1, 1} << QVector<uint>{1, 1, 1} << QVector<uint>{2, 2, 2} << 8;
    QTest::newRow("cell outside the cut box")
        << 0u << QVector<uint>{0, 0, 0} << QVector<uint>{1, 0, 0} << end << 0;
    QTest::newRow("empty cut box")
        << 1u << QVector<uint>{1, 1, 1} << QVector<uint>{2, 0, 0} << QVector<uint>{2, 3, 3} << 0;
}

void TestMarchingCubeSurface::singleCellIsAClosedOctahedron()
{
    QFETCH(quint32, filled);
    QFETCH(QVector<uint>, cell);
    QFETCH(QVector<uint>, lower);
    QFETCH(QVector<uint>, upper);
    QFETCH(int, triangles);
    const quint32 material = 3;
    // Cells of 2 x 1 x 0.5: positions scale with the cell size on each axis.
    std::vector<quint32> ids(27, filled ? material : 0);
    ids[(cell[0] * 3 + cell[1]) * 3 + cell[2]] = material;
    TotalVolume::Ptr v = TotalVolume::create(3, 3, 3, 2.0f, 1.0f, 0.5f, Util::Vector3D(), ids);
    const quint32 lo[3] = {lower[0], lower[1], lower[2]}, up[3] = {upper[0], upper[1], upper[2]};
    const std::vector<Triangle> mesh = build(*v, lo, up);
    QCOMPARE(int(mesh.size()), triangles);
    if (triangles == 0)
        return;
    const MeshCheck check = checkMesh(mesh);
    QCOMPARE(check.badEdges, 0);
    // Every vertex is the centre of one of the cell's six faces, which span an octahedron of
    // a sixth of the cell's volume, 1 / 6.
    const float size[3] = {2.0f, 1.0f, 0.5f};
    for (const Triangle &t : mesh)
        for (const Triangle::Vertex &vertex : t.vertices) {
            QCOMPARE(vertex.material, material);
            int offCentre = 0;
            for (int a = 0; a < 3; ++a) {
                const float centre = (float(cell[a]) + 0.5f) * size[a];
                const float d = qAbs(vertex.position[a] - centre);
                if (d > 1e-6f) {
                    QVERIFY(qAbs(d - 0.5f * size[a]) < 1e-6f);
                    ++offCentre;
                }
            }
            QCOMPARE(offCentre, 1);
        }
    QVERIFY2(qAbs(check.volume - 1.0 / 6.0) < 1e-6, qPrintable(QString::number(check.volume)));
}

void TestMarchingCubeSurface::solidBlockIsClosedAndFacesOutwards()
{
    // A 12 x 10 x 8 block (960 cells) inside a 16^3 volume, touching its lower x face.
    TotalVolume::Ptr v = WorkerTest::makeVolume(16, 16, 16, [](quint32 x, quint32 y, quint32 z) {
        return x < 12 && y >= 2 && y < 12 && z >= 3 && z < 11 ? 1u : 0u;
    });
    const std::vector<Triangle> mesh = buildAll(*v);
    const MeshCheck check = checkMesh(mesh);
    QCOMPARE(check.badEdges, 0);
    // Flat faces on the block's boundary planes, with edges and corners cut off by half a cell:
    // the 12 edges lose 1/8 of a cell per unit of length, 120 / 8 = 15 cells, about 1.6 %.
    QVERIFY2(check.volume > 960.0 * 0.97 && check.volume < 960.0,
             qPrintable(QString::number(check.volume)));
    // In the middle of the top face every neighbouring triangle is flat: the smoothed normal
    // stays straight up.
    int topCentre = 0;
    for (const Triangle &t : mesh)
        for (const Triangle::Vertex &vertex : t.vertices)
            if (qAbs(vertex.position[2] - 11.0f) < 1e-6f && vertex.position[0] > 2.0f &&
                vertex.position[0] < 10.0f && vertex.position[1] > 4.0f &&
                vertex.position[1] < 10.0f) {
                ++topCentre;
                QCOMPARE(vertex.normal[0], 0.0f);
                QCOMPARE(vertex.normal[1], 0.0f);
                QCOMPARE(vertex.normal[2], 1.0f);
            }
    QVERIFY(topCentre > 0);
}

void TestMarchingCubeSurface::oneMaterialAloneIsClosed_data()
{
    QTest::addColumn<quint32>("material");
    QTest::addColumn<double>("volume");
    // A block of k x m x n cells gives flat faces half a cell outside its cell centres, each
    // edge cut off by a prism of 1/8 of a cell per cube along it and each corner by a
    // tetrahedron of 1/48: (k-1)(m-1)(n-1) + [(k-1)(m-1) + (m-1)(n-1) + (k-1)(n-1)]
    // + [(k-1) + (m-1) + (n-1)] / 2 + 1/6 = kmn - (k + m + n) / 2 + 2/3 cells.
    QTest::newRow("4 x 5 x 6 block") << 1u << 120.0 - 7.5 + 2.0 / 3.0;
    QTest::newRow("3 x 3 x 2 block beside it") << 3u << 18.0 - 4.0 + 2.0 / 3.0;
    QTest::newRow("absent material") << 4u << 0.0;
}

void TestMarchingCubeSurface::oneMaterialAloneIsClosed()
{
    QFETCH(quint32, material);
    QFETCH(double, volume);
    // Two blocks that share the face x = 5; cells of 2 x 1 x 0.5, one unit of volume each.
    auto block = [](quint32 id, quint32 x, quint32 y, quint32 z) -> quint32 {
        if (x >= 1 && x < 5 && y >= 1 && y < 6 && z >= 1 && z < 7)
            return id == 0 || id == 1 ? 1 : 0;
        if (x >= 5 && x < 8 && y >= 2 && y < 5 && z >= 1 && z < 3)
            return id == 0 || id == 3 ? 3 : 0;
        return 0;
    };
    auto make = [&](quint32 id) {
        std::vector<quint32> ids;
        for (quint32 x = 0; x < 10; ++x)
            for (quint32 y = 0; y < 8; ++y)
                for (quint32 z = 0; z < 8; ++z)
                    ids.push_back(block(id, x, y, z));
        return TotalVolume::create(10, 8, 8, 2.0f, 1.0f, 0.5f, Util::Vector3D(), ids);
    };
    TotalVolume::Ptr both = make(0);
    const std::vector<Triangle> mesh = buildAll(*both, material);
    // The same triangles as a volume that holds only that material's cells.
    TotalVolume::Ptr alone = make(material);
    QVERIFY(sameTriangles(mesh, buildAll(*alone)));
    const MeshCheck check = checkMesh(mesh);
    QCOMPARE(check.badEdges, 0);
    QVERIFY2(qAbs(check.volume - volume) < 1e-4, qPrintable(QString::number(check.volume)));
    for (const Triangle &t : mesh)
        for (const Triangle::Vertex &vertex : t.vertices)
            QCOMPARE(vertex.material, material);
    // The view's surface around both is untouched by the filter.
    QVERIFY(sameTriangles(buildAll(*both), buildAll(*both, 0)));
    QVERIFY(!sameTriangles(buildAll(*both), mesh));
}

void TestMarchingCubeSurface::sameTrianglesForEveryThreadCount_data()
{
    QTest::addColumn<quint32>("material"); // 0: every material
    QTest::newRow("every material") << 0u;
    QTest::newRow("material 2 alone") << 2u;
}

void TestMarchingCubeSurface::sameTrianglesForEveryThreadCount()
{
    QFETCH(quint32, material);
    TotalVolume::Ptr v = WorkerTest::makeVolume(45, 12, 14, WorkerTest::mixedStructure);
    const quint32 lower[3] = {3, 1, 0}, upper[3] = {44, 12, 13};
    auto sorted = [&](int threads) {
        WorkerTest::ThreadCount count(threads);
        std::vector<Triangle> mesh = build(*v, lower, upper, material);
        std::sort(mesh.begin(), mesh.end(), [](const Triangle &a, const Triangle &b) {
            return std::memcmp(&a, &b, sizeof(Triangle)) < 0;
        });
        return mesh;
    };
    const std::vector<Triangle> one = sorted(1);
    QVERIFY(one.size() > 1000);
    QCOMPARE(checkMesh(one).badEdges, 0);
    for (int threads : {2, 4, 7}) {
        QVERIFY(sameTriangles(sorted(threads), one));
    }
}

void TestMarchingCubeSurface::trianglesThatDoNotFitAreRefused()
{
    TotalVolume::Ptr v = TotalVolume::createFilled(1, 1, 1, 1, 1, 1, Util::Vector3D(), 1);
    MarchingCubeSurface surface(v.get());
    const quint32 lower[3] = {0, 0, 0}, upper[3] = {1, 1, 1};
    // 8 triangles of 84 bytes and 48 pairs of 16 bytes need 1440 bytes.
    Util::SystemMemory::setAvailableBytesOverride(1000);
    QVERIFY(!surface.rebuild(lower, upper));
    Util::SystemMemory::setAvailableBytesOverride(0);
    QCOMPARE(surface.getTriangleCount(), std::size_t(0));
    QVERIFY(surface.getLastError().startsWith(
        QStringLiteral("Cannot show the marching-cubes surface: its 8 triangles need")));
    QVERIFY(surface.rebuild(lower, upper));
    QCOMPARE(surface.getTriangleCount(), std::size_t(8));
    QVERIFY(surface.getLastError().isEmpty());
}

CELVANE_TEST_MAIN(TestMarchingCubeSurface)

#include "tst_marchingcubesurface.moc"
