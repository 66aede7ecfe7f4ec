#include "Model/Automaton/silattice.h"
#include "Model/Automaton/totalvolume.h"
#include "testmain.h"
#include "workertestutil.h"

#include <cmath>
#include <map>

using Model::Automaton::SiAtom;
using Model::Automaton::SiCell;
using Model::Automaton::SiLattice;
using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace {

/// Atoms of the crystal that lie in each volume cell and are present.
std::map<qint64, quint32> presentAtomsPerCell(const SiLattice &lattice)
{
    std::map<qint64, quint32> counts;
    for (const auto &entry : lattice.getCells())
        for (int a = 0; a < SiCell::atomCount; ++a) {
            const SiAtom *atom = entry.second->getAtom(a);
            if (atom->getState() == SiAtom::Present)
                ++counts[atom->getCellIndex()];
        }
    return counts;
}

/// Every silicon cell's tag in both arrays equals the number of its atoms; other cells hold
/// no present atom.
void checkTags(TotalVolume &volume)
{
    const std::map<qint64, quint32> counts = presentAtomsPerCell(*volume.getSiLattice());
    QVERIFY(counts.find(-1) == counts.end());
    const Voxel *cells = volume.lockCells();
    const Voxel *next = volume.lockNextCells();
    for (quint64 n = 0; n < volume.getCellCount(); ++n) {
        const auto it = counts.find(qint64(n));
        const quint32 expected = it == counts.end() ? 0u : it->second;
        if (cells[n].material != 1)
            QCOMPARE(expected, 0u);
        QCOMPARE(cells[n].tag, expected);
        QCOMPARE(next[n].tag, expected);
    }
    volume.releaseNextCells();
    volume.releaseCells();
}

} // namespace

/// The silicon crystal laid over a cell volume.
class TestSiLattice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gridCoversTheVolume();
    void lowerFacesInsideUpperFacesOutside();
    void atomStatesFollowTheCells();
    void innerAtomsHaveFourSymmetricBonds();
    void tagsCountAtomsAfterEveryRebuild();
    void noSiliconNoCells();
    void destroyedAtomsLeaveEmptySlots();
    void sharedAtomsKeepTheirCellAlive();
};

void TestSiLattice::gridCoversTheVolume()
{
    // ceil(20 / sqrt 2) = 15 unit cells along both turned directions, 5 upwards.
    TotalVolume::Ptr volume =
        WorkerTest::makeVolume(10, 10, 5, [](quint32, quint32, quint32) { return 1u; });
    SiLattice lattice(volume.get());
    QCOMPARE(lattice.getCellsA(), 15u);
    QCOMPARE(lattice.getCellsB(), 15u);
    QCOMPARE(lattice.getCellsC(), 5u);
    // Unit cell (0, 0, 0) sits at the middle of the front edge; the [110] directions run
    // along x and y.
    QCOMPARE(lattice.getOrigin(), Util::Vector3D(5.0, -5.0, 0.0));
    QCOMPARE(lattice.unitCellIndex(2, 3, 4), (2u * 15u + 3u) * 5u + 4u);
}

void TestSiLattice::lowerFacesInsideUpperFacesOutside()
{
    TotalVolume::Ptr volume =
        TotalVolume::createFilled(10, 10, 5, 1.0f, 1.0f, 1.0f, Util::Vector3D(2.0, -3.0, 1.0), 1);
    SiLattice lattice(volume.get());
    QCOMPARE(lattice.volumeCellIndexAt(Util::Vector3D(2.0, -3.0, 1.0)), qint64(0));
    QCOMPARE(lattice.volumeCellIndexAt(Util::Vector3D(2.0, -3.0, 5.0)), qint64(4));
    QCOMPARE(lattice.volumeCellIndexAt(Util::Vector3D(11.5, 6.5, 5.5)), qint64(499));
    QCOMPARE(lattice.volumeCellIndexAt(Util::Vector3D(12.0, 0.0, 2.0)), qint64(-1));
    QCOMPARE(lattice.volumeCellIndexAt(Util::Vector3D(3.0, 7.0, 2.0)), qint64(-1));
    QCOMPARE(lattice.volumeCellIndexAt(Util::Vector3D(3.0, 0.0, 6.0)), qint64(-1));
    QCOMPARE(lattice.volumeCellIndexAt(Util::Vector3D(1.999, 0.0, 2.0)), qint64(-1));
}

void TestSiLattice::atomStatesFollowTheCells()
{
    // Below z = 2: silicon for x < 2, beside it oxide (2) for y < 3 and empty space for y >= 3.
    auto material = [](double x, double y, double z) {
        return z >= 2 ? 0u : x < 2 ? 1u : x < 3 && y < 3 ? 2u : 0u;
    };
    TotalVolume::Ptr volume = WorkerTest::makeVolume(
        6, 6, 4, [&](quint32 x, quint32 y, quint32 z) { return material(x, y, z); });
    QVERIFY(volume->rebuildSiLattice());
    int present = 0, fixedInOxide = 0, absent = 0, outside = 0;
    for (const auto &entry : volume->getSiLattice()->getCells())
        for (int a = 0; a < SiCell::atomCount; ++a) {
            const SiAtom *atom = entry.second->getAtom(a);
            const Util::Vector3D p = atom->getPosition();
            const bool in = p.x >= 0 && p.x < 6 && p.y >= 0 && p.y < 6 && p.z >= 0 && p.z < 4;
            if (!in) {
                QCOMPARE(atom->getCellIndex(), -1);
                QCOMPARE(atom->getState(), quint32(SiAtom::Fixed));
                ++outside;
                continue;
            }
            QCOMPARE(atom->getCellIndex(),
                     qint32((quint32(p.x) * 6 + quint32(p.y)) * 4 + quint32(p.z)));
            const quint32 m = material(std::floor(p.x), std::floor(p.y), p.z);
            const quint32 expected = m == 1   ? SiAtom::Present
                                     : m == 0 ? SiAtom::Absent
                                              : SiAtom::Fixed;
            QCOMPARE(atom->getState(), expected);
            present += m == 1;
            fixedInOxide += m == 2;
            absent += m == 0;
        }
    // Eight atoms per unit volume: about 8 x 24 in the silicon.
    QVERIFY2(std::abs(present - 192) < 20, qPrintable(QString::number(present)));
    QVERIFY(fixedInOxide > 0 && absent > 0 && outside > 0);
}

void TestSiLattice::innerAtomsHaveFourSymmetricBonds()
{
    TotalVolume::Ptr volume =
        WorkerTest::makeVolume(10, 10, 5, [](quint32, quint32, quint32) { return 1u; });
    QVERIFY(volume->rebuildSiLattice());
    const SiLattice &lattice = *volume->getSiLattice();
    // The bond vectors of a (100) wafer turned by 45 degrees, s = sqrt(2) / 4.
    const double s = std::sqrt(2.0) / 4.0;
    const double bonds[2][4][3] = {{{s, 0, -0.25}, {-s, 0, -0.25}, {0, -s, 0.25}, {0, s, 0.25}},
                                   {{0, -s, -0.25}, {0, s, -0.25}, {s, 0, 0.25}, {-s, 0, 0.25}}};
    const auto it = lattice.getCells().find(lattice.unitCellIndex(7, 7, 2));
    QVERIFY(it != lattice.getCells().end());
    for (int a = 0; a < SiCell::atomCount; ++a) {
        const SiAtom *atom = it->second->getAtom(a);
        QCOMPARE(int(atom->getSiteType()), (a / 2) % 2);
        QCOMPARE(atom->getPresentNeighborCount(), 4);
        QCOMPARE(atom->getSecondNeighborCount(), 12);
        QVERIFY(!atom->isSurface());
        for (int k = 0; k < 4; ++k) {
            const SiAtom *n = atom->getNeighbor(k);
            QVERIFY(n);
            QCOMPARE(n->getNeighbor(3 - k), atom);
            const Util::Vector3D d = n->getPosition() - atom->getPosition();
            for (int c = 0; c < 3; ++c)
                QVERIFY(std::fabs(d[c] - bonds[(a / 2) % 2][k][c]) < 1e-9);
        }
    }
}

void TestSiLattice::tagsCountAtomsAfterEveryRebuild()
{
    TotalVolume::Ptr volume = WorkerTest::makeVolume(12, 9, 14, WorkerTest::mixedStructure);
    QVERIFY(volume->rebuildSiLattice());
    checkTags(*volume);
    // A unit cell of volume 1 holds 8 atoms.
    const int silicon = WorkerTest::countMaterial(WorkerTest::materials(*volume), 1);
    quint64 atoms = 0;
    for (const auto &entry : presentAtomsPerCell(*volume->getSiLattice()))
        atoms += entry.second;
    QVERIFY2(std::fabs(double(atoms) / silicon - 8.0) < 0.3, qPrintable(QString::number(atoms)));
    QVERIFY(volume->rebuildSiLattice());
    checkTags(*volume);
}

void TestSiLattice::noSiliconNoCells()
{
    TotalVolume::Ptr volume = WorkerTest::makeVolume(
        6, 6, 4, [](quint32, quint32, quint32 z) { return z < 2 ? 2u : 0u; });
    QVERIFY(volume->rebuildSiLattice());
    QVERIFY(volume->getSiLattice()->getCells().empty());
}

void TestSiLattice::destroyedAtomsLeaveEmptySlots()
{
    SiCell::Ptr lower = SiCell::create(0, 0, 0);
    {
        SiCell upper(0, 0, 1);
        lower->linkNeighbor(upper, SiCell::PlusK);
        QCOMPARE(lower->getAtom(6)->getNeighbor(3), upper.getAtom(1));
        QCOMPARE(upper.getAtom(1)->getNeighbor(0), lower->getAtom(6));
        QCOMPARE(lower->getAtom(6)->getPresentNeighborCount(), 2);
    }
    QVERIFY(!lower->getAtom(6)->getNeighbor(3));
    QVERIFY(!lower->getAtom(7)->getNeighbor(2));
    // Atom 3 of a lone cell is bonded to atom 1 only (slot 0); atom 1 to atoms 2 and 3.
    SiAtom *edge = lower->getAtom(3);
    QCOMPARE(edge->getPresentNeighborCount(), 1);
    {
        SiAtom boundary(Util::Vector3D(), nullptr, true);
        QCOMPARE(boundary.getState(), quint32(SiAtom::Fixed));
        QCOMPARE(boundary.getCellIndex(), -1);
        QCOMPARE(boundary.getPresentNeighborCount(), 4);
        edge->link(&boundary, 1);
        QCOMPARE(boundary.getNeighbor(2), edge);
        QCOMPARE(edge->getPresentNeighborCount(), 2);
        // Atom 1 adds its two bonds less the one back, the fixed atom 3.
        QCOMPARE(edge->getSecondNeighborCount(), 1 + 3);
    }
    QVERIFY(!edge->getNeighbor(1));
    QCOMPARE(edge->getPresentNeighborCount(), 1);
    QVERIFY(edge->isSurface());
}

void TestSiLattice::sharedAtomsKeepTheirCellAlive()
{
    boost::shared_ptr<SiAtom> atom;
    {
        SiCell::Ptr cell = SiCell::create(0, 0, 0);
        atom = cell->getSharedAtom(3);
        QCOMPARE(atom.get(), cell->getAtom(3));
    }
    // The cell lives on through its atom, bonds and all.
    QCOMPARE(atom->getPosition(), Util::Vector3D(0.75, 0.75, 0.25));
    QVERIFY(atom->getNeighbor(0));
    QCOMPARE(atom->getNeighbor(0)->getPosition(), Util::Vector3D(0.5, 0.5, 0.0));
}

CELVANE_TEST_MAIN(TestSiLattice)
#include "tst_silattice.moc"
