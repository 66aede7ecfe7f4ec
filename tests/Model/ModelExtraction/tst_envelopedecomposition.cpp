#include "Model/ModelExtraction/envelopedecomposition.h"
#include "testmain.h"
#include "workertestutil.h"

using Model::Automaton::TotalVolume;
using Model::ModelExtraction::EnvelopeDecomposition;
using Model::ModelExtraction::RectangularCuboidEnvelope;
typedef EnvelopeDecomposition::EnvelopeList EnvelopeList;

namespace {

RectangularCuboidEnvelope::Ptr box(quint32 x, quint32 y, quint32 z, quint32 sx, quint32 sy,
                                   quint32 sz, quint32 material = 2)
{
    return RectangularCuboidEnvelope::Ptr(
        new RectangularCuboidEnvelope(x, y, z, sx, sy, sz, material));
}

QString describe(const RectangularCuboidEnvelope &e)
{
    return QStringLiteral("%1,%2,%3 %4x%5x%6 m%7")
        .arg(e.x)
        .arg(e.y)
        .arg(e.z)
        .arg(e.sizeX)
        .arg(e.sizeY)
        .arg(e.sizeZ)
        .arg(e.material);
}

QStringList describe(const EnvelopeList &list)
{
    QStringList result;
    for (const RectangularCuboidEnvelope::Ptr &e : list)
        result << describe(*e);
    return result;
}

/// The four corners of a face, in a fixed order.
std::array<std::array<quint32, 3>, 4> faceCorners(const RectangularCuboidEnvelope &e, int face)
{
    const int axis = face / 2, a = (axis + 1) % 3, b = (axis + 2) % 3;
    std::array<std::array<quint32, 3>, 4> corners;
    for (int c = 0; c < 4; ++c) {
        corners[c][axis] = e.corner(axis) + (face % 2 ? e.size(axis) : 0);
        corners[c][a] = e.corner(a) + (c & 1 ? e.size(a) : 0);
        corners[c][b] = e.corner(b) + (c & 2 ? e.size(b) : 0);
    }
    return corners;
}

/// Every pair once, in list order, the face pairs tried in turn: the plain way to link.
std::vector<std::array<int, 6>> referenceLinks(const EnvelopeList &list)
{
    static const int order[6][2] = {{0, 1}, {1, 0}, {2, 3}, {3, 2}, {4, 5}, {5, 4}};
    std::vector<std::array<int, 6>> links(size_t(list.size()));
    for (auto &l : links)
        l.fill(-1);
    for (int i = 0; i < list.size(); ++i)
        for (int j = i + 1; j < list.size(); ++j)
            for (const auto &pair : order)
                if (faceCorners(*list[i], pair[0]) == faceCorners(*list[j], pair[1])) {
                    links[size_t(i)][pair[0]] = j;
                    links[size_t(j)][pair[1]] = i;
                    break;
                }
    return links;
}

std::vector<std::array<int, 6>> links(const EnvelopeList &list)
{
    std::vector<std::array<int, 6>> result(size_t(list.size()));
    for (int i = 0; i < list.size(); ++i)
        for (int face = 0; face < 6; ++face) {
            int index = -1;
            for (int j = 0; j < list.size(); ++j)
                if (list[j].get() == list[i]->neighbours[face])
                    index = j;
            result[size_t(i)][face] = index;
        }
    return result;
}

} // namespace

class TestEnvelopeDecomposition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneMaterialIsOneEnvelope();
    void emptyCellsBoundButMakeNothing();
    void breadthFirstOrderAndLinks();
    void partialContactIsNotLinked();
    void linksAgreeWithEveryPairCompared();
    void neighbourCountFollowsTheFaces();
};

void TestEnvelopeDecomposition::oneMaterialIsOneEnvelope()
{
    TotalVolume::Ptr v = TotalVolume::createFilled(3, 4, 2, 1, 1, 1, Util::Vector3D(), 2);
    const EnvelopeList list = EnvelopeDecomposition::decompose(*v);
    QCOMPARE(describe(list), QStringList{"0,0,0 3x4x2 m2"});
    EnvelopeDecomposition::link(list);
    QCOMPARE(list[0]->neighbourCount, 0u);
}

void TestEnvelopeDecomposition::emptyCellsBoundButMakeNothing()
{
    // Along x: silicon, two empty cells, silicon. The empty box is cut out but gives nothing,
    // and the two silicon boxes do not touch.
    TotalVolume::Ptr v = TotalVolume::create(4, 1, 1, 1, 1, 1, Util::Vector3D(), {1, 0, 0, 1});
    const EnvelopeList list = EnvelopeDecomposition::decompose(*v);
    QCOMPARE(describe(list), (QStringList{"0,0,0 1x1x1 m1", "3,0,0 1x1x1 m1"}));
    EnvelopeDecomposition::link(list);
    QCOMPARE(list[0]->neighbourCount + list[1]->neighbourCount, 0u);
}

void TestEnvelopeDecomposition::breadthFirstOrderAndLinks()
{
    // 2 x 2 x 1 cells of materials 1 + x + 2y: from the origin, the box along x comes before
    // the one along y, and the far corner last.
    TotalVolume::Ptr v = TotalVolume::create(2, 2, 1, 1, 1, 1, Util::Vector3D(), {1, 3, 2, 4});
    const EnvelopeList list = EnvelopeDecomposition::decompose(*v);
    QCOMPARE(describe(list),
             (QStringList{"0,0,0 1x1x1 m1", "1,0,0 1x1x1 m2", "0,1,0 1x1x1 m3", "1,1,0 1x1x1 m4"}));
    EnvelopeDecomposition::link(list);
    QVERIFY(links(list) == referenceLinks(list));
    for (const RectangularCuboidEnvelope::Ptr &e : list)
        QCOMPARE(e->neighbourCount, 2u);
}

void TestEnvelopeDecomposition::partialContactIsNotLinked()
{
    const EnvelopeList list{box(0, 0, 0, 2, 2, 1), box(2, 0, 0, 2, 1, 1), box(0, 2, 0, 3, 1, 1),
                            box(0, 0, 1, 2, 2, 3)};
    EnvelopeDecomposition::link(list);
    QVERIFY(!list[0]->neighbours[1]);                // half of the face only
    QVERIFY(!list[0]->neighbours[3]);                // a wider box beside it
    QCOMPARE(list[0]->neighbours[5], list[3].get()); // the whole top face
    QCOMPARE(list[3]->neighbours[4], list[0].get());
    QCOMPARE(list[0]->neighbourCount, 1u);
}

void TestEnvelopeDecomposition::linksAgreeWithEveryPairCompared()
{
    // A structure with trenches, a cavity, pillars and a bridge: many boxes, linked through the
    // lookup exactly as comparing every pair would link them.
    TotalVolume::Ptr v = WorkerTest::makeVolume(23, 9, 14, WorkerTest::mixedStructure);
    const EnvelopeList list = EnvelopeDecomposition::decompose(*v);
    QVERIFY(list.size() > 100);
    EnvelopeDecomposition::link(list);
    QVERIFY(links(list) == referenceLinks(list));
    // Every filled cell lies in exactly one box of its material.
    quint64 cells = 0;
    for (const RectangularCuboidEnvelope::Ptr &e : list)
        cells += quint64(e->sizeX) * e->sizeY * e->sizeZ;
    QCOMPARE(cells, quint64(v->getCellCount()) -
                        quint64(WorkerTest::countMaterial(WorkerTest::materials(*v), 0)));
}

void TestEnvelopeDecomposition::neighbourCountFollowsTheFaces()
{
    RectangularCuboidEnvelope::Ptr a = box(0, 0, 0, 1, 1, 1), b = box(1, 0, 0, 1, 1, 1),
                                   c = box(2, 0, 0, 1, 1, 1);
    a->setNeighbour(1, b.get());
    QCOMPARE(a->neighbourCount, 1u);
    a->setNeighbour(1, c.get()); // replaced: still one
    QCOMPARE(a->neighbourCount, 1u);
    a->setNeighbour(1, nullptr);
    QCOMPARE(a->neighbourCount, 0u);
    a->setNeighbour(1, nullptr); // clearing an empty face changes nothing
    QCOMPARE(a->neighbourCount, 0u);
}

CELVANE_TEST_MAIN(TestEnvelopeDecomposition)
#include "tst_envelopedecomposition.moc"
