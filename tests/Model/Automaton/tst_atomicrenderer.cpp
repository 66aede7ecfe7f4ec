#include "Model/Automaton/atomicrenderer.h"
#include "Model/Automaton/totalvolume.h"
#include "testmain.h"
#include "workertestutil.h"

#include <cmath>

using Model::Automaton::AtomicRenderer;
using Model::Automaton::TotalVolume;
using Model::Automaton::TotalVolumePainter;

/// What the atomic view of silicon builds.
class TestAtomicRenderer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void atomsLinksAndCells();
    void surfaceAtomsInsideTheCut();
};

namespace {

/// A 10 x 10 x 6 volume at (5, 5, 5): silicon below z = 4, empty above.
TotalVolume::Ptr block()
{
    std::vector<quint32> ids;
    for (quint32 x = 0; x < 10; ++x)
        for (quint32 y = 0; y < 10; ++y)
            for (quint32 z = 0; z < 6; ++z)
                ids.push_back(z < 4 ? 1 : 0);
    TotalVolume::Ptr v = TotalVolume::create(10, 10, 6, 1, 1, 1, Util::Vector3D(5, 5, 5), ids);
    v->rebuildSiLattice();
    return v;
}

} // namespace

void TestAtomicRenderer::atomsLinksAndCells()
{
    TotalVolume::Ptr volume = block();
    TotalVolumePainter &painter = volume->getPainter();
    const AtomicRenderer &renderer = painter.getAtomicRenderer();
    painter.refresh(); // switched off, nothing is built
    QCOMPARE(renderer.getAtomCount() + renderer.getLinkCount() + renderer.getUnitCellCount(),
             std::size_t(0));
    painter.setRenderSiAtoms(true);
    painter.setRenderSiAtomLinks(true);
    painter.setRenderSiUnitCells(true);
    painter.refresh();
    // Eight atoms per unit volume, about 2 bonds per atom (each shared by two), and a unit
    // cell per unit volume, give or take the skin of the block.
    const double atoms = double(renderer.getAtomCount());
    QVERIFY2(std::fabs(atoms - 3200.0) < 100.0, qPrintable(QString::number(atoms)));
    QVERIFY(renderer.getLinkCount() < 2 * renderer.getAtomCount());
    QVERIFY(renderer.getLinkCount() > 1.8 * atoms);
    QVERIFY(renderer.getUnitCellCount() >= 400 && renderer.getUnitCellCount() < 560);
    // In the volume's own coordinates: from the bottom to the top atomic layer at 3.75.
    float low = 1e9f, high = -1e9f;
    const std::vector<float> &v = renderer.getAtomVertices();
    for (std::size_t i = 2; i < v.size(); i += 3) {
        low = std::min(low, v[i]);
        high = std::max(high, v[i]);
    }
    QCOMPARE(low, 0.0f);
    QCOMPARE(high, 3.75f);
}

void TestAtomicRenderer::surfaceAtomsInsideTheCut()
{
    // Cut to x, y in [2, 8] and z from 1: the sides and the bottom (whose atoms lack their
    // lower bonds as well) are gone, only the top layer is surface. It holds two atoms per unit
    // area: 72.
    TotalVolume::Ptr volume = block();
    TotalVolumePainter &painter = volume->getPainter();
    const quint32 lower[3] = {2, 2, 1}, upper[3] = {8, 8, 6};
    painter.setCutLimits(lower, upper);
    painter.setRenderSiAtoms(true);
    painter.setRenderSurfaceAtomsOnly(true);
    painter.refresh();
    const std::vector<float> &v = painter.getAtomicRenderer().getAtomVertices();
    QCOMPARE(v.size() / 3, std::size_t(72));
    for (std::size_t i = 0; i < v.size(); i += 3) {
        QVERIFY(v[i] >= 2.0f && v[i] <= 8.0f && v[i + 1] >= 2.0f && v[i + 1] <= 8.0f);
        QCOMPARE(v[i + 2], 3.75f);
    }
}

CELVANE_TEST_MAIN(TestAtomicRenderer)
#include "tst_atomicrenderer.moc"
