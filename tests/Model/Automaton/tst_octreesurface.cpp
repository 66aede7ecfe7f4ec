#include "Model/Automaton/octreesurface.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Automaton/totalvolumepainter.h"
#include "Model/Materials/materialfactory.h"
#include "testmain.h"
#include "workertestutil.h"

using Model::Automaton::OctreeNode;
using Model::Automaton::OctreeSurface;
using Model::Automaton::TotalVolume;
using Model::Geometry::QuadFace;
using Model::Materials::Material;
using Model::Materials::MaterialFactory;

namespace {

enum : quint32
{
    Silicon = 1,     // (0.5, 0.5, 0.5, 1)
    Oxide = 3,       // (0.5, 0.5, 1, 1)
    Half = 103,      // alpha 0.5
    HalfOther = 112, // a second alpha 0.5 material
};

/// The area of a face in cell units (the tests use cells of size 1).
double area(const QuadFace &f)
{
    double extent[3];
    for (int a = 0; a < 3; ++a) {
        float lo = f.vertices[0][a], hi = lo;
        for (int v = 1; v < 4; ++v) {
            lo = std::min(lo, f.vertices[v][a]);
            hi = std::max(hi, f.vertices[v][a]);
        }
        extent[a] = double(hi - lo);
    }
    return extent[0] * extent[1] + extent[1] * extent[2] + extent[0] * extent[2];
}

bool build(OctreeSurface &octree, TotalVolume &v)
{
    const quint32 lower[3] = {0, 0, 0};
    const quint32 upper[3] = {v.getCellsX(), v.getCellsY(), v.getCellsZ()};
    return octree.rebuild(lower, upper);
}

} // namespace

class TestOctreeSurface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void emptyCutBoxHasNoFaces();
    void blockAtTheOriginIsOneLeaf();
    void singleCellVolumeIsARootOfSizeOne();
    void cutBoxBecomesTheRoot();
    void facesBetweenTwoCells_data();
    void facesBetweenTwoCells();
    void facesCoverTheCubicSurfaceOnce();
    void recolorFollowsSelection();
};

void TestOctreeSurface::initTestCase()
{
    MaterialFactory::Ptr factory = MaterialFactory::instance();
    factory->loadDefaultMaterials();
    const float half[4] = {0.2f, 0.9f, 0.4f, 0.5f}, other[4] = {0.9f, 0.1f, 0.9f, 0.5f};
    QVERIFY(factory->setMaterial(Material(Half, QStringLiteral("Half"), 1, 1, 0.3f, half)));
    QVERIFY(factory->setMaterial(Material(HalfOther, QStringLiteral("Other"), 1, 1, 0.3f, other)));
}

void TestOctreeSurface::emptyCutBoxHasNoFaces()
{
    TotalVolume::Ptr v = TotalVolume::createFilled(4, 4, 4, 1, 1, 1, Util::Vector3D(), Silicon);
    OctreeSurface octree(v.get());
    const quint32 lower[3] = {0, 2, 0}, upper[3] = {4, 2, 4};
    QVERIFY(octree.rebuild(lower, upper));
    QVERIFY(octree.getOpaqueFaces().empty());
    QVERIFY(octree.getTranslucentFaces().empty());
    QVERIFY(!octree.getRoot());
}

void TestOctreeSurface::blockAtTheOriginIsOneLeaf()
{
    TotalVolume::Ptr v = WorkerTest::makeVolume(8, 8, 8, [](quint32 x, quint32 y, quint32 z) {
        return x < 4 && y < 4 && z < 4 ? Silicon : 0u;
    });
    OctreeSurface octree(v.get());
    QVERIFY(build(octree, *v));
    const OctreeNode *root = octree.getRoot();
    QVERIFY(root && !root->leaf);
    QCOMPARE(root->size, 8u);
    const OctreeNode *block = root->children[0];
    QVERIFY(block->leaf);
    QCOMPARE(block->material, quint32(Silicon));
    QCOMPARE(block->size, 4u);
    for (int k = 1; k < 8; ++k)
        QVERIFY(root->children[k]->leaf && root->children[k]->material == 0);
    QCOMPARE(octree.getNodeCount(), std::size_t(9));
    QCOMPARE(octree.getOpaqueFaces().size(), std::size_t(6));
    for (const QuadFace &f : octree.getOpaqueFaces()) {
        QCOMPARE(area(f), 16.0);
        QCOMPARE(f.material, quint32(Silicon));
        QCOMPARE(f.color[2], 0.5f);
    }
}

void TestOctreeSurface::singleCellVolumeIsARootOfSizeOne()
{
    TotalVolume::Ptr v = TotalVolume::createFilled(1, 1, 1, 1, 1, 1, Util::Vector3D(), Oxide);
    OctreeSurface octree(v.get());
    QVERIFY(build(octree, *v));
    const OctreeNode *root = octree.getRoot();
    QVERIFY(root && root->leaf);
    QCOMPARE(root->size, 1u);
    QCOMPARE(root->material, quint32(Oxide));
    QCOMPARE(octree.getOpaqueFaces().size(), std::size_t(6));
}

void TestOctreeSurface::cutBoxBecomesTheRoot()
{
    // A full 5^3 volume cut to the cells 1..2 on every axis: one leaf with its six faces at
    // the cut planes 1 and 3.
    TotalVolume::Ptr v = TotalVolume::createFilled(5, 5, 5, 1, 1, 1, Util::Vector3D(), Silicon);
    OctreeSurface octree(v.get());
    const quint32 lower[3] = {1, 1, 1}, upper[3] = {3, 3, 3};
    QVERIFY(octree.rebuild(lower, upper));
    const OctreeNode *root = octree.getRoot();
    QVERIFY(root && root->leaf);
    QCOMPARE(root->originX, 1u);
    QCOMPARE(root->size, 2u);
    QCOMPARE(octree.getOpaqueFaces().size(), std::size_t(6));
    for (const QuadFace &f : octree.getOpaqueFaces())
        for (const auto &vertex : f.vertices)
            for (float c : vertex)
                QVERIFY(c == 1.0f || c == 3.0f);
}

void TestOctreeSurface::facesBetweenTwoCells_data()
{
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("second");
    QTest::addColumn<int>("opaque");
    QTest::addColumn<int>("translucent");
    // Two cells side by side along x; each shows its five outer faces.
    QTest::newRow("one opaque material") << quint32(Silicon) << quint32(Silicon) << 10 << 0;
    QTest::newRow("two opaque materials") << quint32(Silicon) << quint32(Oxide) << 10 << 0;
    QTest::newRow("opaque beside translucent") << quint32(Silicon) << quint32(Half) << 6 << 5;
    QTest::newRow("two translucent materials") << quint32(Half) << quint32(HalfOther) << 0 << 10;
}

void TestOctreeSurface::facesBetweenTwoCells()
{
    QFETCH(quint32, first);
    QFETCH(quint32, second);
    QFETCH(int, opaque);
    QFETCH(int, translucent);
    TotalVolume::Ptr v = TotalVolume::create(2, 1, 1, 1, 1, 1, Util::Vector3D(),
                                             std::vector<quint32>{first, second});
    OctreeSurface octree(v.get());
    QVERIFY(build(octree, *v));
    QCOMPARE(int(octree.getOpaqueFaces().size()), opaque);
    QCOMPARE(int(octree.getTranslucentFaces().size()), translucent);
}

void TestOctreeSurface::facesCoverTheCubicSurfaceOnce()
{
    // Lower half of a 16^3 volume: four leaves of 8^3, each with its four outer faces.
    TotalVolume::Ptr slab = WorkerTest::makeVolume(
        16, 16, 16, [](quint32, quint32, quint32 z) { return z < 8 ? Silicon : 0u; });
    OctreeSurface flat(slab.get());
    QVERIFY(build(flat, *slab));
    QCOMPARE(flat.getOpaqueFaces().size(), std::size_t(16));

    // Any structure of opaque cells: the octree's faces tile exactly the cubic faces, no face
    // twice and no gap, in fewer faces.
    TotalVolume::Ptr v = WorkerTest::makeVolume(40, 12, 14, WorkerTest::mixedStructure);
    const quint32 lower[3] = {3, 1, 0}, upper[3] = {37, 12, 13};
    v->getPainter().setCutLimits(lower, upper);
    v->getPainter().refresh();
    OctreeSurface octree(v.get());
    QVERIFY(octree.rebuild(lower, upper));
    double covered = 0.0;
    for (const QuadFace &f : octree.getOpaqueFaces())
        covered += area(f);
    const std::size_t cubic = v->getPainter().getOpaqueFaces().size();
    QCOMPARE(covered, double(cubic));
    QVERIFY(octree.getOpaqueFaces().size() < cubic);
}

void TestOctreeSurface::recolorFollowsSelection()
{
    TotalVolume::Ptr v = TotalVolume::createFilled(2, 2, 2, 1, 1, 1, Util::Vector3D(), Oxide);
    OctreeSurface octree(v.get());
    QVERIFY(build(octree, *v));
    v->setSelected(true);
    octree.recolor();
    octree.recolor(); // the highlight is taken from the material colour, not stacked
    // (0.5, 0.5, 1) highlighted: 0.5 + 0.3, 0.5 + 0.3, 1 - 0.7.
    for (const QuadFace &f : octree.getOpaqueFaces()) {
        QVERIFY(qAbs(f.color[0] - 0.8f) < 1e-6f && qAbs(f.color[2] - 0.3f) < 1e-6f);
        QVERIFY(qAbs(f.outlineColor[1] - 0.8f) < 1e-6f);
    }
    v->setSelected(false);
    octree.recolor();
    for (const QuadFace &f : octree.getOpaqueFaces())
        QVERIFY(f.color[0] == 0.5f && f.color[2] == 1.0f && f.outlineColor[2] == 1.0f);
}

CELVANE_TEST_MAIN(TestOctreeSurface)

#include "tst_octreesurface.moc"
