#include "Model/Automaton/totalvolume.h"
#include "Model/Automaton/totalvolumepainter.h"
#include "Model/Materials/materialfactory.h"
#include "Util/systemmemory.h"
#include "testmain.h"
#include "workertestutil.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QThreadPool>

#include <GL/gl.h>

#include <atomic>
#include <cstring>
#include <thread>

using Model::Automaton::TotalVolume;
using Model::Automaton::TotalVolumePainter;
using Model::Automaton::Voxel;
using Model::Geometry::QuadFace;
using Model::Geometry::QuadFaceList;
using Model::Materials::Material;
using Model::Materials::MaterialFactory;

namespace {

// Without a display the application still starts on the offscreen platform; the drawing test
// then finds no OpenGL context and skips.
const bool platformChosen = [] {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

// Test materials: ids and colours chosen so that every threshold of the face rules is met
// on both sides. Id 2 is not in the built-in catalogue.
enum : quint32
{
    OpaqueA = 101,    // (0.8, 0.2, 0.5, 1)
    OpaqueB = 102,    // (0.1, 0.6, 0.9, 1)
    Half = 103,       // alpha 0.5
    Faint = 104,      // alpha 0.05
    Tenth = 105,      // alpha 0.1
    AboveTenth = 106, // alpha 0.11
    Alpha998 = 107,   // drawn opaque, hides nothing
    Alpha997 = 108,   // the opaque threshold itself
    Alpha996 = 109,   // just translucent
    Alpha999 = 110,   // the hiding threshold itself: does not hide
    Alpha9995 = 111,  // hides
    HalfOther = 112,  // a second alpha 0.5 material
    Unknown = 2,      // not in the catalogue
    LargeKnown = 3000000000u,
    LargeUnknown = 4000000000u
};

struct TestMaterial
{
    quint32 id;
    float color[4];
};

const TestMaterial testMaterials[] = {
    {OpaqueA, {0.8f, 0.2f, 0.5f, 1.0f}},      {OpaqueB, {0.1f, 0.6f, 0.9f, 1.0f}},
    {Half, {0.2f, 0.9f, 0.4f, 0.5f}},         {Faint, {0.3f, 0.3f, 0.3f, 0.05f}},
    {Tenth, {0.4f, 0.4f, 0.4f, 0.1f}},        {AboveTenth, {0.5f, 0.5f, 0.5f, 0.11f}},
    {Alpha998, {0.6f, 0.1f, 0.1f, 0.998f}},   {Alpha997, {0.1f, 0.6f, 0.1f, 0.997f}},
    {Alpha996, {0.1f, 0.1f, 0.6f, 0.996f}},   {Alpha999, {0.6f, 0.6f, 0.1f, 0.999f}},
    {Alpha9995, {0.1f, 0.6f, 0.6f, 0.9995f}}, {HalfOther, {0.9f, 0.1f, 0.9f, 0.5f}},
    {LargeKnown, {0.25f, 0.5f, 0.75f, 1.0f}},
};

TotalVolume::Ptr makeVolume(quint32 cx, quint32 cy, quint32 cz, const QVector<uint> &ids,
                            float sx = 1.0f, float sy = 1.0f, float sz = 1.0f)
{
    QString error;
    TotalVolume::Ptr v = TotalVolume::create(cx, cy, cz, sx, sy, sz, Util::Vector3D(),
                                             std::vector<quint32>(ids.begin(), ids.end()), &error);
    if (!v)
        qWarning() << error;
    return v;
}

TotalVolume::Ptr makeFilled(quint32 cx, quint32 cy, quint32 cz, quint32 material)
{
    return TotalVolume::createFilled(cx, cy, cz, 1.0f, 1.0f, 1.0f, Util::Vector3D(), material);
}

bool sameColor(const float *actual, float r, float g, float b, float a)
{
    return qAbs(actual[0] - r) < 1e-6f && qAbs(actual[1] - g) < 1e-6f &&
           qAbs(actual[2] - b) < 1e-6f && qAbs(actual[3] - a) < 1e-6f;
}

QString colorText(const float *c)
{
    return QStringLiteral("(%1, %2, %3, %4)").arg(c[0]).arg(c[1]).arg(c[2]).arg(c[3]);
}

/// The first face (of those of cell `only`, or of all when null) whose fill or outline is not
/// the colour, described; empty when every one has it.
QString wrongColour(const QuadFaceList &faces, float r, float g, float b, float a,
                    const Voxel *only = nullptr)
{
    for (const QuadFace &f : faces)
        if ((!only || f.voxel == only) &&
            (!sameColor(f.color, r, g, b, a) || !sameColor(f.outlineColor, r, g, b, a)))
            return colorText(f.color) + QStringLiteral(" outline ") + colorText(f.outlineColor);
    return QString();
}

/// Alpha as the catalogue has it; unknown ids are drawn in an opaque fallback colour.
float alphaOf(quint32 id)
{
    const Material m = MaterialFactory::instance()->getMaterial(id);
    return m.getId() == id ? m.getColor()[3] : 1.0f;
}

struct ExpectedFace
{
    quint64 cell;
    int side;
    bool opaque;
};

/// The face rules written out cell by cell and side by side, as a reference for volumes too
/// large to count by hand: every visible face in cell order (x, then y, then z) and side order.
std::vector<ExpectedFace> expectedFaces(const std::vector<quint32> &ids, const quint32 count[3],
                                        const quint32 lower[3], const quint32 upper[3])
{
    static const int step[6][3] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0},
                                   {0, 1, 0},  {-1, 0, 0}, {1, 0, 0}};
    std::vector<ExpectedFace> faces;
    auto index = [&](qint64 x, qint64 y, qint64 z) {
        return quint64((x * count[1] + y) * count[2] + z);
    };
    for (qint64 x = lower[0]; x < upper[0]; ++x)
        for (qint64 y = lower[1]; y < upper[1]; ++y)
            for (qint64 z = lower[2]; z < upper[2]; ++z) {
                const quint32 id = ids[index(x, y, z)];
                if (id == 0)
                    continue;
                const float alpha = alphaOf(id);
                const bool opaque = alpha >= 0.997f;
                for (int side = 0; side < 6; ++side) {
                    const qint64 n[3] = {x + step[side][0], y + step[side][1], z + step[side][2]};
                    bool outside = false;
                    for (int a = 0; a < 3; ++a)
                        outside = outside || n[a] < qint64(lower[a]) || n[a] >= qint64(upper[a]);
                    bool visible = outside;
                    if (!outside) {
                        const quint32 other = ids[index(n[0], n[1], n[2])];
                        visible = opaque ? (other == 0 || !(alphaOf(other) > 0.999f))
                                         : (other != id || alpha <= 0.1f);
                    }
                    if (visible)
                        faces.push_back(ExpectedFace{index(x, y, z), side, opaque});
                }
            }
    return faces;
}

/// A volume with a silicon base, trenches, translucent and unknown materials: every rule and
/// every material path of the builder is met somewhere.
std::vector<quint32> patternedIds(quint32 cx, quint32 cy, quint32 cz)
{
    static const quint32 top[] = {0,       0,         0,       Half,       Faint,        Alpha998,
                                  OpaqueA, HalfOther, Unknown, LargeKnown, LargeUnknown, Tenth};
    std::vector<quint32> ids(std::size_t(cx) * cy * cz);
    quint32 seed = 12345;
    std::size_t i = 0;
    for (quint32 x = 0; x < cx; ++x)
        for (quint32 y = 0; y < cy; ++y)
            for (quint32 z = 0; z < cz; ++z) {
                seed = seed * 1103515245u + 12345u;
                if (z < cz / 3)
                    ids[i] = 1;
                else if (z < cz / 2)
                    ids[i] = (x % 5 < 2) ? 0 : 3;
                else
                    ids[i] = top[(seed >> 16) % (sizeof(top) / sizeof(top[0]))];
                ++i;
            }
    return ids;
}

std::vector<QuadFace> copyFaces(const QuadFaceList &list)
{
    return std::vector<QuadFace>(list.begin(), list.end());
}

/// The same faces in the same order, field by field.
bool sameFaces(const QuadFaceList &list, const std::vector<QuadFace> &faces)
{
    return list.size() == faces.size() &&
           std::memcmp(list.data(), faces.data(), faces.size() * sizeof(QuadFace)) == 0;
}

/// The cell array the faces point into, for telling which cell a face belongs to.
const Voxel *cellsOf(TotalVolume &v)
{
    const Voxel *cells = v.lockCells();
    v.releaseCells();
    return cells;
}

int sideOf(const QuadFace &face)
{
    for (int side = 0; side < QuadFace::SideCount; ++side)
        if (face.normal == QuadFace::normals[side])
            return side;
    return -1;
}

} // namespace

class TestTotalVolumePainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void visibleFaceCounts_data();
    void visibleFaceCounts();
    void faceVerticesFollowTheTable();
    void unknownMaterialsUseFallbackColour();
    void sameFacesForEveryThreadCount_data();
    void sameFacesForEveryThreadCount();
    void cutBox_data();
    void cutBox();
    void emptyCellOutlines();
    void recolorIsIdempotentWhileSelected();
    void recolorFollowsCatalogueAndCells();
    void surfaceAlgorithmRebuildsOnChange();
    void refreshFollowsCellChanges();
    void refreshWaitsForCellsLock();
    void facesThatDoNotFitInMemoryAreRefused();
    void drawing();
};

void TestTotalVolumePainter::initTestCase()
{
    MaterialFactory::Ptr factory = MaterialFactory::instance();
    factory->loadDefaultMaterials();
    QVERIFY(factory->getMaterial(Unknown).getId() != Unknown);
    for (const TestMaterial &m : testMaterials)
        QVERIFY(factory->setMaterial(
            Material(m.id, QStringLiteral("Test %1").arg(m.id), 1.0f, 1.0f, 0.3f, m.color)));
}

void TestTotalVolumePainter::cleanup()
{
    Util::SystemMemory::setAvailableBytesOverride(0);
}

void TestTotalVolumePainter::visibleFaceCounts_data()
{
    QTest::addColumn<quint32>("cx");
    QTest::addColumn<quint32>("cy");
    QTest::addColumn<quint32>("cz");
    QTest::addColumn<QVector<uint>>("ids");
    QTest::addColumn<int>("opaque");
    QTest::addColumn<int>("translucent");

    typedef QVector<uint> Ids;
    QTest::newRow("one opaque cell") << 1u << 1u << 1u << Ids{OpaqueA} << 6 << 0;
    QTest::newRow("one cell amid empty ones")
        << 3u << 3u << 3u << Ids{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, OpaqueA,
                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}
        << 6 << 0;
    QTest::newRow("no occupied cell") << 2u << 2u << 2u << Ids(8, 0) << 0 << 0;
    // Two cells sharing a face: 12 faces less the two hidden ones.
    QTest::newRow("two opaque cells along x") << 2u << 1u << 1u << Ids{OpaqueA, OpaqueA} << 10 << 0;
    QTest::newRow("two opaque cells along y") << 1u << 2u << 1u << Ids{OpaqueA, OpaqueA} << 10 << 0;
    QTest::newRow("two opaque cells along z") << 1u << 1u << 2u << Ids{OpaqueA, OpaqueA} << 10 << 0;
    QTest::newRow("two opaque materials") << 2u << 1u << 1u << Ids{OpaqueA, OpaqueB} << 10 << 0;
    // Translucent pairs of one material hide their shared faces unless alpha <= 0.1.
    QTest::newRow("translucent pair alpha 0.5") << 2u << 1u << 1u << Ids{Half, Half} << 0 << 10;
    QTest::newRow("translucent pair alpha 0.11")
        << 2u << 1u << 1u << Ids{AboveTenth, AboveTenth} << 0 << 10;
    QTest::newRow("translucent pair alpha 0.1") << 2u << 1u << 1u << Ids{Tenth, Tenth} << 0 << 12;
    QTest::newRow("translucent pair alpha 0.05") << 2u << 1u << 1u << Ids{Faint, Faint} << 0 << 12;
    QTest::newRow("two translucent materials") << 2u << 1u << 1u << Ids{Half, HalfOther} << 0 << 12;
    // Opaque beside translucent: each keeps its face towards the other.
    QTest::newRow("opaque beside translucent") << 2u << 1u << 1u << Ids{OpaqueA, Half} << 6 << 6;
    // 0.998 is drawn opaque but does not hide: the alpha-1 cell keeps all six faces, the
    // 0.998 cell loses the one towards the alpha-1 cell.
    QTest::newRow("opaque beside alpha 0.998")
        << 2u << 1u << 1u << Ids{OpaqueA, Alpha998} << 11 << 0;
    QTest::newRow("alpha 0.998 pair") << 2u << 1u << 1u << Ids{Alpha998, Alpha998} << 12 << 0;
    QTest::newRow("alpha 0.997 is opaque") << 2u << 1u << 1u << Ids{Alpha997, OpaqueA} << 11 << 0;
    QTest::newRow("alpha 0.996 is translucent")
        << 2u << 1u << 1u << Ids{Alpha996, OpaqueA} << 6 << 6;
    QTest::newRow("alpha 0.999 does not hide")
        << 2u << 1u << 1u << Ids{Alpha999, Alpha999} << 12 << 0;
    QTest::newRow("alpha 0.9995 hides") << 2u << 1u << 1u << Ids{Alpha9995, Alpha9995} << 10 << 0;
    // Unknown materials are drawn opaque in the fallback colour, and hide like alpha 1.
    QTest::newRow("unknown material") << 1u << 1u << 1u << Ids{Unknown} << 6 << 0;
    QTest::newRow("unknown beside opaque") << 2u << 1u << 1u << Ids{Unknown, OpaqueA} << 10 << 0;
    QTest::newRow("unknown beside translucent") << 2u << 1u << 1u << Ids{Unknown, Half} << 6 << 6;
    QTest::newRow("large unknown id") << 1u << 1u << 1u << Ids{LargeUnknown} << 6 << 0;
    QTest::newRow("large known id pair")
        << 2u << 1u << 1u << Ids{LargeKnown, LargeKnown} << 10 << 0;
    // 3 x 3 x 3 with the centre empty: 54 outer faces and the 6 around the hole.
    Ids hollow(27, OpaqueA);
    hollow[13] = 0;
    QTest::newRow("hollow cube") << 3u << 3u << 3u << hollow << 60 << 0;
    // An L of three cells in the xy plane: 18 faces less 2 shared pairs.
    QTest::newRow("L shape") << 2u << 2u << 1u << Ids{OpaqueA, OpaqueA, 0, OpaqueA} << 14 << 0;
}

void TestTotalVolumePainter::visibleFaceCounts()
{
    QFETCH(quint32, cx);
    QFETCH(quint32, cy);
    QFETCH(quint32, cz);
    QFETCH(QVector<uint>, ids);
    QFETCH(int, opaque);
    QFETCH(int, translucent);
    TotalVolume::Ptr v = makeVolume(cx, cy, cz, ids);
    QVERIFY(v);
    v->getPainter().refresh();
    QCOMPARE(int(v->getPainter().getOpaqueFaces().size()), opaque);
    QCOMPARE(int(v->getPainter().getTranslucentFaces().size()), translucent);
    QVERIFY(v->getPainter().getEmptyCellFaces().isEmpty());
}

void TestTotalVolumePainter::faceVerticesFollowTheTable()
{
    // One cell at (1, 2, 3) of a 3 x 4 x 5 volume, cells 0.5 x 2 x 3: it spans x 0.5..1,
    // y 4..6, z 9..12. The position of the volume does not enter local coordinates.
    QVector<uint> ids(60, 0);
    ids[33] = OpaqueA; // (1 * 4 + 2) * 5 + 3
    TotalVolume::Ptr v = makeVolume(3, 4, 5, ids, 0.5f, 2.0f, 3.0f);
    v->translate(Util::Vector4D(10, 20, 30, 0));
    v->getPainter().refresh();
    const QuadFaceList &faces = v->getPainter().getOpaqueFaces();
    QCOMPARE(faces.size(), std::size_t(6));

    const float expected[6][4][3] = {
        {{0.5f, 4, 9}, {0.5f, 6, 9}, {1, 6, 9}, {1, 4, 9}},         // bottom
        {{0.5f, 4, 12}, {1, 4, 12}, {1, 6, 12}, {0.5f, 6, 12}},     // top
        {{0.5f, 4, 9}, {1, 4, 9}, {1, 4, 12}, {0.5f, 4, 12}},       // front
        {{0.5f, 6, 9}, {0.5f, 6, 12}, {1, 6, 12}, {1, 6, 9}},       // back
        {{0.5f, 4, 9}, {0.5f, 4, 12}, {0.5f, 6, 12}, {0.5f, 6, 9}}, // left
        {{1, 4, 9}, {1, 6, 9}, {1, 6, 12}, {1, 4, 12}},             // right
    };
    const Voxel *cell = cellsOf(*v) + 33;
    for (int f = 0; f < 6; ++f) {
        for (int vtx = 0; vtx < 4; ++vtx)
            for (int c = 0; c < 3; ++c)
                QCOMPARE(faces[f].vertices[vtx][c], expected[f][vtx][c]);
        QVERIFY(faces[f].voxel == cell);
    }
}

void TestTotalVolumePainter::unknownMaterialsUseFallbackColour()
{
    TotalVolume::Ptr v = makeVolume(3, 1, 1, {Unknown, OpaqueA, LargeUnknown});
    TotalVolumePainter &p = v->getPainter();
    p.refresh();
    QCOMPARE(p.getColorMap().count(Unknown), std::size_t(0)); // nothing added for it
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(14));
    const Voxel *cells = cellsOf(*v);
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 0.8f, 0.2f, 0.5f, 1.0f, cells + 1), QString());
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 1.0f, 0.0f, 1.0f, 1.0f, cells), QString());
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 1.0f, 0.0f, 1.0f, 1.0f, cells + 2), QString());
    // Selected, the fallback is highlighted like any colour: 1 -> 0.3, 0 -> 0.3.
    v->setSelected(true);
    p.recolor();
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 0.3f, 0.3f, 0.3f, 1.0f, cells), QString());
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 0.3f, 0.3f, 0.3f, 1.0f, cells + 2), QString());
}

void TestTotalVolumePainter::sameFacesForEveryThreadCount_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<quint32>("cx");
    QTest::addColumn<quint32>("lowerX");
    QTest::addColumn<quint32>("upperX");
    QTest::addColumn<quint32>("lowerZ");
    for (int threads : {2, 3, 5}) {
        const QByteArray t = QByteArray::number(threads) + " threads, ";
        // 23 columns split into slabs with a remainder for every thread count.
        QTest::newRow(t + "wide") << threads << 23u << 0u << 23u << 0u;
        QTest::newRow(t + "wide, cut") << threads << 23u << 3u << 20u << 4u;
        // 4 columns: split by 2 and 3 threads, built on the calling thread with 5.
        QTest::newRow(t + "narrow") << threads << 4u << 0u << 4u << 0u;
        QTest::newRow(t + "one column") << threads << 1u << 0u << 1u << 0u;
        // A cut box narrower than the thread count inside a wide volume.
        QTest::newRow(t + "narrow cut") << threads << 23u << 10u << 12u << 0u;
    }
}

void TestTotalVolumePainter::sameFacesForEveryThreadCount()
{
    QFETCH(int, threads);
    QFETCH(quint32, cx);
    QFETCH(quint32, lowerX);
    QFETCH(quint32, upperX);
    QFETCH(quint32, lowerZ);
    const quint32 cy = 7, cz = 12;
    const std::vector<quint32> ids = patternedIds(cx, cy, cz);
    TotalVolume::Ptr v = TotalVolume::create(cx, cy, cz, 0.5f, 1.0f, 2.0f, Util::Vector3D(), ids);
    QVERIFY(v);
    TotalVolumePainter &p = v->getPainter();
    const quint32 lower[3] = {lowerX, 1, lowerZ};
    const quint32 upper[3] = {upperX, cy, cz - 1};
    p.setCutLimits(lower, upper);
    p.setShowEmptyVoxelOutlines(true);

    WorkerTest::ThreadCount pool(1);
    p.refresh();
    const std::vector<QuadFace> opaque = copyFaces(p.getOpaqueFaces());
    const std::vector<QuadFace> translucent = copyFaces(p.getTranslucentFaces());
    const std::vector<QuadFace> empty = copyFaces(p.getEmptyCellFaces());

    // The single-threaded build follows the face rules cell by cell.
    const quint32 count[3] = {cx, cy, cz};
    const std::vector<ExpectedFace> expected = expectedFaces(ids, count, lower, upper);
    const Voxel *cells = cellsOf(*v);
    std::size_t o = 0, t = 0;
    for (const ExpectedFace &e : expected) {
        const std::vector<QuadFace> &list = e.opaque ? opaque : translucent;
        std::size_t &i = e.opaque ? o : t;
        QVERIFY2(i < list.size(), "fewer faces than expected");
        QVERIFY2(list[i].voxel == cells + e.cell && sideOf(list[i]) == e.side,
                 qPrintable(QStringLiteral("face %1 of the %2 list should be side %3 of cell %4")
                                .arg(i)
                                .arg(e.opaque ? "opaque" : "translucent")
                                .arg(e.side)
                                .arg(e.cell)));
        ++i;
    }
    QCOMPARE(o, opaque.size());
    QCOMPARE(t, translucent.size());
    QVERIFY(!opaque.empty());
    QVERIFY(!translucent.empty());
    QVERIFY(!empty.empty());

    // Any thread count gives the same faces in the same order.
    WorkerTest::ThreadCount split(threads);
    p.refresh();
    QVERIFY(sameFaces(p.getOpaqueFaces(), opaque));
    QVERIFY(sameFaces(p.getTranslucentFaces(), translucent));
    QVERIFY(sameFaces(p.getEmptyCellFaces(), empty));
}

void TestTotalVolumePainter::cutBox_data()
{
    typedef QVector<uint> T;
    QTest::addColumn<T>("lower"); // empty: never set
    QTest::addColumn<T>("upper");
    QTest::addColumn<T>("limits"); // the limits kept, lower then upper; empty: as set
    QTest::addColumn<int>("faces");
    QTest::addColumn<int>("side");       // a side whose faces at the cut plane are counted
    QTest::addColumn<float>("plane");    // coordinate of that cut plane
    QTest::addColumn<int>("planeFaces"); // faces expected there
    const int left = QuadFace::Left, right = QuadFace::Right;
    // A 4 x 4 x 4 block of one material with cells 1 x 1 x 2.
    QTest::newRow("the whole volume at first")
        << T() << T() << T{0, 0, 0, 4, 4, 4} << 96 << right << 4.0f << 16;
    // Half along x: a 2 x 4 x 4 box; the cells at x = 1 show their faces towards the removed
    // half, although their neighbours are of the same material.
    QTest::newRow("upper half x removed")
        << T{0, 0, 0} << T{2, 4, 4} << T() << 64 << right << 2.0f << 16;
    QTest::newRow("lower half x removed")
        << T{2, 0, 0} << T{4, 4, 4} << T() << 64 << left << 2.0f << 16;
    // The lowest layer hidden: 4 x 4 x 3, the faces on z = 1 (at height 2) are drawn.
    QTest::newRow("lowest layer hidden")
        << T{0, 0, 1} << T{4, 4, 4} << T() << 80 << int(QuadFace::Bottom) << 2.0f << 16;
    QTest::newRow("inner 2 x 2 x 2")
        << T{1, 1, 1} << T{3, 3, 3} << T() << 24 << int(QuadFace::Back) << 3.0f << 4;
    QTest::newRow("one cell") << T{3, 0, 2} << T{4, 1, 3} << T() << 6 << int(QuadFace::Top) << 6.0f
                              << 1;
    QTest::newRow("empty x range") << T{2, 0, 0} << T{2, 4, 4} << T() << 0 << left << 2.0f << 0;
    // Limits beyond the volume would make the builder read past the cell array; a lower limit
    // above the upper one leaves the range empty.
    QTest::newRow("lower above upper")
        << T{3, 0, 0} << T{1, 4, 4} << T{1, 0, 0, 1, 4, 4} << 0 << left << 1.0f << 0;
    QTest::newRow("clamped") << T{0, 7, 1} << T{99, 100000, 2} << T{0, 4, 1, 4, 4, 2} << 0 << left
                             << 0.0f << 0;
}

void TestTotalVolumePainter::cutBox()
{
    QFETCH(QVector<uint>, lower);
    QFETCH(QVector<uint>, upper);
    QFETCH(QVector<uint>, limits);
    QFETCH(int, faces);
    QFETCH(int, side);
    QFETCH(float, plane);
    QFETCH(int, planeFaces);
    if (limits.isEmpty())
        limits = lower + upper;
    TotalVolume::Ptr v =
        TotalVolume::createFilled(4, 4, 4, 1.0f, 1.0f, 2.0f, Util::Vector3D(), OpaqueA);
    TotalVolumePainter &p = v->getPainter();
    if (!lower.isEmpty())
        p.setCutLimits(lower.data(), upper.data());
    quint32 l[3], u[3];
    p.getCutLimits(l, u);
    QCOMPARE(QVector<uint>({l[0], l[1], l[2], u[0], u[1], u[2]}), limits);
    // The planes, in cells, keep what lies between the limits.
    const std::vector<Util::Vector4D> planes = p.getClipPlanes().getPlanes();
    QCOMPARE(planes.size(), std::size_t(6));
    for (int a = 0; a < 3; ++a) {
        Util::Vector4D low, high;
        low[a] = -1;
        low[3] = limits[a];
        high[a] = 1;
        high[3] = -double(limits[a + 3]);
        QCOMPARE(planes[2 * a], low);
        QCOMPARE(planes[2 * a + 1], high);
    }
    p.refresh();
    QCOMPARE(int(p.getOpaqueFaces().size()), faces);
    const int axis = side / 2 == 0 ? 2 : (side / 2 == 1 ? 1 : 0);
    int atPlane = 0;
    for (const QuadFace &f : p.getOpaqueFaces())
        if (sideOf(f) == side && f.vertices[0][axis] == plane)
            ++atPlane;
    QCOMPARE(atPlane, planeFaces);
}

void TestTotalVolumePainter::emptyCellOutlines()
{
    // With outlines on, an empty volume yields six grey faces per cell and nothing else.
    TotalVolume::Ptr v = makeFilled(2, 2, 2, 0);
    TotalVolumePainter &p = v->getPainter();
    p.refresh();
    QVERIFY(p.getEmptyCellFaces().isEmpty());
    p.setShowEmptyVoxelOutlines(true);
    QVERIFY(p.getShowEmptyVoxelOutlines());
    p.refresh();
    QVERIFY(p.getOpaqueFaces().isEmpty());
    QVERIFY(p.getTranslucentFaces().isEmpty());
    QCOMPARE(p.getEmptyCellFaces().size(), std::size_t(48));
    QCOMPARE(wrongColour(p.getEmptyCellFaces(), 0.8f, 0.8f, 0.8f, 1.0f), QString());
    // The cut box keeps the outlines of the cells inside it only: the four with x = 0.
    const quint32 lower[3] = {0, 0, 0};
    const quint32 upper[3] = {1, 2, 2};
    p.setCutLimits(lower, upper);
    p.refresh();
    QCOMPARE(p.getEmptyCellFaces().size(), std::size_t(24));
    for (const QuadFace &f : p.getEmptyCellFaces())
        for (int vtx = 0; vtx < 4; ++vtx)
            QVERIFY(f.vertices[vtx][0] <= 1.0f);

    // The hole of a hollow cube: its six faces in table order, around cell (1, 1, 1).
    QVector<uint> hollow(27, OpaqueA);
    hollow[13] = 0;
    TotalVolume::Ptr h = makeVolume(3, 3, 3, hollow, 2.0f, 2.0f, 2.0f);
    h->getPainter().setShowEmptyVoxelOutlines(true);
    h->getPainter().refresh();
    const QuadFaceList &faces = h->getPainter().getEmptyCellFaces();
    QCOMPARE(faces.size(), std::size_t(6));
    const Voxel *cells = cellsOf(*h);
    for (int side = 0; side < 6; ++side) {
        QCOMPARE(sideOf(faces[side]), side);
        QVERIFY(faces[side].voxel == cells + 13);
        for (int vtx = 0; vtx < 4; ++vtx)
            for (int c = 0; c < 3; ++c)
                QVERIFY(faces[side].vertices[vtx][c] == 2.0f ||
                        faces[side].vertices[vtx][c] == 4.0f);
    }
    QCOMPARE(h->getPainter().getOpaqueFaces().size(), std::size_t(60));

    // Switching them off gives the memory back at once.
    h->getPainter().setShowEmptyVoxelOutlines(false);
    QVERIFY(h->getPainter().getEmptyCellFaces().isEmpty());
    h->getPainter().refresh();
    QVERIFY(h->getPainter().getEmptyCellFaces().isEmpty());
}

void TestTotalVolumePainter::recolorIsIdempotentWhileSelected()
{
    TotalVolume::Ptr v = makeVolume(2, 1, 1, {OpaqueA, Half});
    TotalVolumePainter &p = v->getPainter();
    p.refresh();
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 0.8f, 0.2f, 0.5f, 1.0f), QString());
    QCOMPARE(wrongColour(p.getTranslucentFaces(), 0.2f, 0.9f, 0.4f, 0.5f), QString());
    v->setSelected(true);
    // highlight: 0.8 -> 0.1, 0.2 -> 0.5, 0.5 -> 0.8; 0.2 -> 0.5, 0.9 -> 0.2, 0.4 -> 0.7.
    for (int round = 0; round < 3; ++round) {
        p.recolor();
        QCOMPARE(wrongColour(p.getOpaqueFaces(), 0.1f, 0.5f, 0.8f, 1.0f), QString());
        QCOMPARE(wrongColour(p.getTranslucentFaces(), 0.5f, 0.2f, 0.7f, 0.5f), QString());
    }
    v->setSelected(false);
    p.recolor();
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 0.8f, 0.2f, 0.5f, 1.0f), QString());
    QCOMPARE(wrongColour(p.getTranslucentFaces(), 0.2f, 0.9f, 0.4f, 0.5f), QString());
    // A rebuild of a selected volume must not fall back to unselected colours.
    v->setSelected(true);
    p.refresh();
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 0.1f, 0.5f, 0.8f, 1.0f), QString());
}

void TestTotalVolumePainter::recolorFollowsCatalogueAndCells()
{
    MaterialFactory::Ptr factory = MaterialFactory::instance();
    TotalVolume::Ptr v = makeVolume(2, 1, 1, {OpaqueA, OpaqueB});
    TotalVolumePainter &p = v->getPainter();
    p.refresh();
    const Voxel *cells = cellsOf(*v);

    // A catalogue colour change shows after recolor, without a rebuild.
    Material changed = factory->getMaterial(OpaqueB);
    changed.setColor(0.0f, 0.0f, 1.0f, 1.0f);
    factory->setMaterial(changed);
    p.recolor();
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(10));
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 0.0f, 0.0f, 1.0f, 1.0f, cells + 1), QString());
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 0.8f, 0.2f, 0.5f, 1.0f, cells), QString());
    QCOMPARE(p.getColorMap().at(OpaqueB)[2], 1.0f);
    changed.setColor(0.1f, 0.6f, 0.9f, 1.0f);
    factory->setMaterial(changed);

    // Faces follow the current material of their cell: an id that left the catalogue (or a
    // cell emptied since the build) gets the fallback colour.
    Voxel *locked = v->lockCells();
    locked[0].material = Unknown;
    locked[1].material = 0;
    v->releaseCells();
    p.recolor();
    QCOMPARE(wrongColour(p.getOpaqueFaces(), 1.0f, 0.0f, 1.0f, 1.0f), QString());
}

void TestTotalVolumePainter::surfaceAlgorithmRebuildsOnChange()
{
    TotalVolume::Ptr v = makeVolume(2, 1, 1, {OpaqueA, OpaqueA});
    TotalVolumePainter &p = v->getPainter();
    QVERIFY(p.getOpaqueFaces().isEmpty()); // nothing is built before the first refresh
    p.setSuspended(true);
    p.draw(true, true); // suspended: returns before touching OpenGL, even without a context
    p.setSuspended(false);
    p.setSurfaceAlgorithm(1);
    QCOMPARE(p.getSurfaceAlgorithm(), 1u);
    // The cubic faces are always built; the two cells' surface is 16 triangles: one per cube
    // at either end of the bar, two per cube spanning both cells.
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(10));
    QCOMPARE(p.getMarchingCubes().getTriangleCount(), std::size_t(16));
    QVERIFY(!p.getOctree().getRoot());

    Voxel *cells = v->lockCells();
    cells[1].material = 0;
    v->releaseCells();
    p.setSurfaceAlgorithm(1); // same value: no rebuild
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(10));
    p.setSurfaceAlgorithm(3); // not an algorithm: ignored
    QCOMPARE(p.getSurfaceAlgorithm(), 1u);
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(10));
    p.setSurfaceAlgorithm(2);
    QCOMPARE(p.getSurfaceAlgorithm(), 2u);
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(6));
    QCOMPARE(p.getOctree().getOpaqueFaces().size(), std::size_t(6));
    QCOMPARE(p.getMarchingCubes().getTriangleCount(), std::size_t(0)); // freed when not shown
    p.setSurfaceAlgorithm(0);
    QCOMPARE(p.getSurfaceAlgorithm(), 0u);
    p.refresh();
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(6));
    QVERIFY(!p.getOctree().getRoot());
}

void TestTotalVolumePainter::refreshFollowsCellChanges()
{
    TotalVolume::Ptr v = makeFilled(3, 3, 3, OpaqueA);
    TotalVolumePainter &p = v->getPainter();
    p.refresh();
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(54));
    Voxel *cells = v->lockCells();
    cells[13].material = 0;    // hollow it out
    cells[26].material = Half; // corner (2, 2, 2) turns translucent
    v->releaseCells();
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(54)); // only a refresh rebuilds
    p.refresh();
    // Hollow cube 60, less the corner's 3 outer faces, plus the 3 faces its opaque neighbours
    // show towards it; the corner shows all 6 (every neighbour differs).
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(60));
    QCOMPARE(p.getTranslucentFaces().size(), std::size_t(6));
}

void TestTotalVolumePainter::refreshWaitsForCellsLock()
{
    TotalVolume::Ptr v = makeFilled(2, 1, 1, OpaqueA);
    Voxel *cells = v->lockCells(); // a process at work
    std::atomic<bool> done{false};
    std::thread painter([&] {
        v->getPainter().refresh();
        done = true;
    });
    QTest::qSleep(100);
    QVERIFY(!done);
    cells[1].material = 0; // the process changes a cell before it releases
    v->releaseCells();
    painter.join();
    QVERIFY(done);
    QCOMPARE(v->getPainter().getOpaqueFaces().size(), std::size_t(6));
}

void TestTotalVolumePainter::facesThatDoNotFitInMemoryAreRefused()
{
    TotalVolume::Ptr v = makeFilled(3, 3, 3, OpaqueA);
    TotalVolumePainter &p = v->getPainter();
    p.setShowEmptyVoxelOutlines(true);
    // 54 faces of 96 bytes need 5184 bytes.
    Util::SystemMemory::setAvailableBytesOverride(4000);
    p.refresh();
    QVERIFY(p.getOpaqueFaces().isEmpty());
    QVERIFY(p.getLastError().startsWith(QStringLiteral("Cannot show the cell volume: its 54 "
                                                       "faces need")));
    Util::SystemMemory::setAvailableBytesOverride(0);
    p.refresh();
    QCOMPARE(p.getOpaqueFaces().size(), std::size_t(54));
    QVERIFY(p.getLastError().isEmpty());
}

namespace {

/// An OpenGL context with a 64 x 64 frame buffer, looking down the z axis at the square
/// -1..2 x -1..2 in orthographic projection, lighting off so colours come out as given.
class GlScene
{
public:
    bool create(QString *why)
    {
        surface.create();
        if (!context.create()) {
            *why = QStringLiteral("no OpenGL context can be created here");
            return false;
        }
        if (!context.makeCurrent(&surface)) {
            *why = QStringLiteral("the OpenGL context cannot be made current");
            return false;
        }
        if (context.isOpenGLES() || context.format().profile() == QSurfaceFormat::CoreProfile) {
            *why = QStringLiteral("no fixed-function OpenGL here");
            return false;
        }
        fbo.reset(new QOpenGLFramebufferObject(64, 64, QOpenGLFramebufferObject::Depth));
        if (!fbo->isValid() || !fbo->bind()) {
            *why = QStringLiteral("no frame buffer object");
            return false;
        }
        glViewport(0, 0, 64, 64);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 2, -1, 2, -20, 20);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glClearColor(0, 0, 0, 0);
        return true;
    }

    /// Draws on a cleared frame and returns the colour written at the middle of the unit
    /// square 0..1 x 0..1, as stored (blending writes alpha too, so an image conversion would
    /// un-premultiply the channels).
    QColor drawnCentre(TotalVolumePainter &p, bool objects = true, bool masks = false)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        p.draw(objects, masks);
        GLubyte rgba[4] = {0, 0, 0, 0};
        glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return QColor(rgba[0], rgba[1], rgba[2]);
    }

    /// How many names a picking pass over the volume hits.
    int hits(TotalVolume &v)
    {
        GLuint buffer[64];
        glSelectBuffer(64, buffer);
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(v.getId());
        v.getPainter().drawForPicking();
        glPopName();
        const int n = glRenderMode(GL_RENDER);
        return n == 1 && buffer[3] == GLuint(v.getId()) ? 1 : -n;
    }

    QOffscreenSurface surface;
    QOpenGLContext context;
    QScopedPointer<QOpenGLFramebufferObject> fbo;
};

bool near(const QColor &c, double r, double g, double b)
{
    const int tolerance = 3;
    return qAbs(c.red() - qRound(r * 255)) <= tolerance &&
           qAbs(c.green() - qRound(g * 255)) <= tolerance &&
           qAbs(c.blue() - qRound(b * 255)) <= tolerance;
}

QString text(const QColor &c)
{
    return QStringLiteral("(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

/// The colour drawn at the centre must be (r, g, b).
#define QVERIFY_DRAWN(drawn, r, g, b)                                                              \
    do {                                                                                           \
        const QColor c = (drawn);                                                                  \
        QVERIFY2(near(c, r, g, b), qPrintable(text(c)));                                           \
    } while (false)

GLint stackDepth(GLenum which)
{
    GLint depth = 0;
    glGetIntegerv(which, &depth);
    return depth;
}

} // namespace

void TestTotalVolumePainter::drawing()
{
    GlScene scene;
    QString why;
    if (!scene.create(&why))
        QSKIP(qPrintable(why));

    TotalVolume::Ptr v = makeVolume(1, 1, 1, {OpaqueA});
    TotalVolumePainter &p = v->getPainter();
    p.refresh();
    const GLint modelview = stackDepth(GL_MODELVIEW_STACK_DEPTH);
    const GLint attributes = stackDepth(GL_ATTRIB_STACK_DEPTH);
    QVERIFY_DRAWN(scene.drawnCentre(p), 0.8, 0.2, 0.5);
    QVERIFY_DRAWN(scene.drawnCentre(p, true, true), 0.8, 0.2, 0.5);
    QCOMPARE(stackDepth(GL_MODELVIEW_STACK_DEPTH), modelview);
    QCOMPARE(stackDepth(GL_ATTRIB_STACK_DEPTH), attributes);
    QCOMPARE(int(glGetError()), int(GL_NO_ERROR));

    // "Render Objects" off: nothing of the volume, masks included.
    v->setTopMask(std::vector<bool>(1, true), 1, 1);
    QVERIFY_DRAWN(scene.drawnCentre(p, false, true), 0, 0, 0);
    // The top mask, five cells above the volume, blends its green over the cell.
    QVERIFY_DRAWN(scene.drawnCentre(p), 0.3 * 0.2 + 0.7 * 0.8, 0.3 * 0.8 + 0.7 * 0.2,
                  0.3 * 0.2 + 0.7 * 0.5);
    v->clearTopMask();

    // Selecting the volume is enough: the next draw shows the highlight.
    v->setSelected(true);
    QVERIFY_DRAWN(scene.drawnCentre(p), 0.1, 0.5, 0.8);
    v->setSelected(false);

    p.setSuspended(true);
    QVERIFY_DRAWN(scene.drawnCentre(p), 0, 0, 0);
    p.setSuspended(false);

    // While a move is previewed the volume shows displaced.
    v->setPreview(true);
    v->setPreviewDisplacement(Util::Vector3D(100, 0, 0));
    QVERIFY_DRAWN(scene.drawnCentre(p), 0, 0, 0);
    v->setPreview(false);
    v->setPreviewDisplacement(Util::Vector3D());

    // A translucent cell is blended over the background.
    TotalVolume::Ptr t = makeVolume(1, 1, 1, {Half});
    t->getPainter().refresh();
    QVERIFY_DRAWN(scene.drawnCentre(t->getPainter()), 0.5 * 0.2, 0.5 * 0.9, 0.5 * 0.4);
    QCOMPARE(stackDepth(GL_MODELVIEW_STACK_DEPTH), modelview);
    QCOMPARE(stackDepth(GL_ATTRIB_STACK_DEPTH), attributes);

    // Picking: the bounding box is hit where the volume is, and follows its position.
    QCOMPARE(scene.hits(*v), 1);
    v->translate(Util::Vector4D(100, 0, 0, 0));
    QCOMPARE(scene.hits(*v), 0);
    QCOMPARE(stackDepth(GL_MODELVIEW_STACK_DEPTH), modelview);
    QCOMPARE(int(glGetError()), int(GL_NO_ERROR));
}

CELVANE_TEST_MAIN_IMPL(TestTotalVolumePainter, QGuiApplication)

#include "tst_totalvolumepainter.moc"
