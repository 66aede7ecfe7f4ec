#include "Core/Operations/SiEtching/atomicstructuresimplesiwetetch.h"
#include "Core/Operations/SiEtching/siatomstestutil.h"
#include "Model/Automaton/totalvolume.h"
#include "Util/progress.h"
#include "testmain.h"
#include "workertestutil.h"

#include <cmath>
#include <map>

using Core::Operations::AtomicStructureSimpleSiWetEtch;
using Model::Automaton::SiAtom;
using Model::Automaton::SiCell;
using Model::Automaton::SiLattice;
using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;
using namespace WorkerTest;
using namespace SiAtoms;

namespace {

bool etch(TotalVolume &volume, double depth, QString *error = nullptr)
{
    return AtomicStructureSimpleSiWetEtch(&volume, depth).runEtching(error);
}

/// Tags and materials agree with the atoms: a cell is silicon exactly while it holds a present
/// atom, and its tag counts them, in both arrays.
void checkCellsFollowAtoms(TotalVolume &volume)
{
    std::map<qint64, quint32> counts;
    for (const auto &entry : volume.getSiLattice()->getCells())
        for (int a = 0; a < SiCell::atomCount; ++a) {
            const SiAtom *atom = entry.second->getAtom(a);
            if (atom->getState() == SiAtom::Present)
                ++counts[atom->getCellIndex()];
        }
    const Voxel *cells = volume.lockCells();
    const Voxel *next = volume.lockNextCells();
    bool ok = true;
    for (quint64 n = 0; n < volume.getCellCount() && ok; ++n) {
        const auto it = counts.find(qint64(n));
        const quint32 atoms = it == counts.end() ? 0 : it->second;
        ok = cells[n].tag == atoms && next[n].tag == atoms &&
             cells[n].material == next[n].material && (cells[n].material == 1) == (atoms > 0);
    }
    volume.releaseNextCells();
    volume.releaseCells();
    QVERIFY(ok);
}

/// The tags of the current array.
std::vector<quint32> tags(TotalVolume &volume)
{
    const Voxel *cells = volume.lockCells();
    std::vector<quint32> list;
    for (quint64 n = 0; n < volume.getCellCount(); ++n)
        list.push_back(cells[n].tag);
    volume.releaseCells();
    return list;
}

} // namespace

/// The bond-counting wet etch of silicon.
class TestAtomicStructureSimpleSiWetEtch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepsFromDepth_data();
    void stepsFromDepth();
    void flatTopLosesOneAtomicLayerPerStep();
    void maskHoldsTheSiliconBelowIt();
    void pitHasTheSidewallsOfKoh_data();
    void pitHasTheSidewallsOfKoh();
    // One slab per thread as long as each gets a column.
    void threadsAgree_data() { threadAgreementRows({{4, 5, 1}, {6, 7, 1}, {5, 5, 5}}); }
    void threadsAgree();
    void atomsAgreeForAnyThreadCount();
    void secondEtchCarriesOn();
    void settledPitEndsTheEtch();
};

void TestAtomicStructureSimpleSiWetEtch::stepsFromDepth_data()
{
    QTest::addColumn<double>("depth");
    QTest::addColumn<quint64>("steps");
    QTest::newRow("none") << 0.0 << quint64(0);
    QTest::newRow("0.12 rounds down") << 0.12 << quint64(0);
    QTest::newRow("0.125: half a step rounds up") << 0.125 << quint64(1);
    QTest::newRow("default 10 units") << 10.0 << quint64(40);
    QTest::newRow("negative") << -3.0 << quint64(0);
    QTest::newRow("not a number") << std::nan("") << quint64(0);
}

void TestAtomicStructureSimpleSiWetEtch::stepsFromDepth()
{
    QFETCH(double, depth);
    QFETCH(quint64, steps);
    QCOMPARE(AtomicStructureSimpleSiWetEtch::stepsFor(depth), steps);
    // A run does the steps asked for, no matter how little they change.
    TotalVolume::Ptr volume =
        makeVolume(6, 6, 8, [](quint32, quint32, quint32 z) { return z < 6 ? 1u : 0u; });
    AtomicStructureSimpleSiWetEtch worker(volume.get(), depth);
    QVERIFY(worker.runEtching());
    QCOMPARE(worker.getStepsRun(), steps);
}

void TestAtomicStructureSimpleSiWetEtch::flatTopLosesOneAtomicLayerPerStep()
{
    // Silicon below z = 6 under empty space; the top atomic layer lies at z = 5.75. The sides
    // of the volume hold their atoms like a mask, so the count stays 2 cells away from them.
    TotalVolume::Ptr volume =
        makeVolume(12, 12, 8, [](quint32, quint32, quint32 z) { return z < 6 ? 1u : 0u; });
    QVERIFY(volume->rebuildSiLattice());
    const auto full = presentPerLayer(*volume->getSiLattice(), 2.0, 12.0);
    QCOMPARE(full.rbegin()->first, 23);
    for (int step = 1; step <= 4; ++step) {
        // Each etch first revives the atoms of the cells that are still silicon, then removes
        // one layer per step: a top atom has only its two lower bonds.
        QVERIFY(etch(*volume, double(step) * 0.25));
        auto expected = full;
        for (int layer = 24 - step; layer < 24; ++layer)
            expected.erase(layer);
        QVERIFY(presentPerLayer(*volume->getSiLattice(), 2.0, 12.0) == expected);
        checkCellsFollowAtoms(*volume);
        // The top row of cells keeps its silicon while it has atoms left.
        QCOMPARE(materialAt(*volume, 6, 6, 5), step < 4 ? 1u : 0u);
        QCOMPARE(materialAt(*volume, 6, 6, 4), 1u);
    }
}

void TestAtomicStructureSimpleSiWetEtch::maskHoldsTheSiliconBelowIt()
{
    // A closed oxide mask: its atoms are fixed neighbours, so no silicon atom ever lacks a
    // bond. The volume's sides and bottom hold likewise.
    TotalVolume::Ptr volume =
        makeVolume(10, 10, 10, masked(6, [](quint32, quint32) { return false; }));
    const std::vector<quint32> before = materials(*volume);
    QVERIFY(etch(*volume, 3.0));
    QCOMPARE(materials(*volume), before);
    checkCellsFollowAtoms(*volume);
    const auto layers = presentPerLayer(*volume->getSiLattice());
    QCOMPARE(layers.rbegin()->first, 23);
}

void TestAtomicStructureSimpleSiWetEtch::pitHasTheSidewallsOfKoh_data()
{
    QTest::addColumn<bool>("square");
    QTest::newRow("square pit") << true;
    QTest::newRow("groove along x") << false;
}

void TestAtomicStructureSimpleSiWetEtch::pitHasTheSidewallsOfKoh()
{
    // A (100) wafer: silicon below z = 16 under an oxide mask with an opening of 20 cells
    // (x and y in [10, 30) for the pit, y in [10, 30) over the whole length for the groove).
    // Etched 8 units, the bottom lies at z = 8 and the sidewalls are {111} planes through the
    // mask edges, at 54.74 degrees: at depth d below the mask each side has moved in by
    // d / tan(54.74) = d / sqrt(2).
    QFETCH(bool, square);
    const quint32 top = 16, lo = 10, hi = 30;
    const double depth = 8.0;
    auto open = [=](quint32 v) { return v >= lo && v < hi; };
    TotalVolume::Ptr volume = makeVolume(40, 40, 20, masked(top, [=](quint32 x, quint32 y) {
                                             return open(y) && (!square || open(x));
                                         }));
    QVERIFY(etch(*volume, depth));
    checkCellsFollowAtoms(*volume);
    const double inset = 1.0 / std::tan(54.7356 * M_PI / 180.0);
    QVERIFY(std::fabs(inset - 1.0 / std::sqrt(2.0)) < 1e-4);
    for (quint32 z = quint32(top - depth); z < top; ++z) {
        // Cell centres deeper than the wall is at their height are etched.
        const double d = double(top) - (double(z) + 0.5);
        const double width = double(hi - lo) - 2.0 * d * inset;
        int acrossY = 0, acrossX = 0;
        for (quint32 v = 0; v < 40; ++v) {
            acrossY += materialAt(*volume, 20, v, z) == 0;
            acrossX += materialAt(*volume, v, 20, z) == 0;
        }
        QVERIFY2(
            std::fabs(acrossY - width) <= 2.0,
            qPrintable(
                QStringLiteral("z %1: %2 etched, %3 expected").arg(z).arg(acrossY).arg(width)));
        if (square)
            QVERIFY2(std::fabs(acrossX - width) <= 2.0,
                     qPrintable(QStringLiteral("z %1: %2 etched along x, %3 expected")
                                    .arg(z)
                                    .arg(acrossX)
                                    .arg(width)));
    }
    // A flat bottom: nothing below z = 8, all of the middle above it.
    // (The ends of the groove are held by the sides of the volume and slope like the walls.)
    for (quint32 x = square ? 18 : 8; x < (square ? 22u : 32u); ++x)
        for (quint32 y = 18; y < 22; ++y) {
            QCOMPARE(materialAt(*volume, x, y, 7), 1u);
            QCOMPARE(materialAt(*volume, x, y, 8), 0u);
        }
    // No undercut: the silicon under the mask, next to the opening, stays.
    for (quint32 v = lo; v < hi; ++v) {
        QCOMPARE(materialAt(*volume, 20, lo - 1, top - 1), 1u);
        QCOMPARE(materialAt(*volume, 20, hi, top - 1), 1u);
        if (square) {
            QCOMPARE(materialAt(*volume, lo - 1, v, top - 1), 1u);
            QCOMPARE(materialAt(*volume, hi, v, top - 1), 1u);
        }
    }
}

void TestAtomicStructureSimpleSiWetEtch::threadsAgree()
{
    checkThreadAgreement(
        [](TotalVolume *v) { return AtomicStructureSimpleSiWetEtch(v, 2.0); },
        [](AtomicStructureSimpleSiWetEtch &w, QString *error) { return w.runEtching(error); });
    AtomicStructureSimpleSiWetEtch orphan(nullptr, 1.0);
    QString error;
    QVERIFY(!orphan.runEtching(&error));
    QVERIFY2(error.startsWith(QLatin1String("No cell volume for ")), qPrintable(error));
}

void TestAtomicStructureSimpleSiWetEtch::atomsAgreeForAnyThreadCount()
{
    std::vector<std::pair<quint32, float>> reference;
    for (int threads : {1, 2, 3, 5}) {
        ThreadCount pool(threads);
        TotalVolume::Ptr volume = makeVolume(40, 9, 14, mixedStructure);
        AtomicStructureSimpleSiWetEtch worker(volume.get(), 2.0);
        QCOMPARE(worker.getStripCount(), threads);
        QVERIFY(worker.runEtching());
        checkCellsFollowAtoms(*volume);
        const auto states = atomStates(*volume->getSiLattice());
        if (reference.empty())
            reference = states;
        QVERIFY(states == reference);
    }
}

void TestAtomicStructureSimpleSiWetEtch::secondEtchCarriesOn()
{
    // The second etch works on the same crystal. The cells are what counts: the atoms of cells
    // that are still silicon come back first, so a partly etched cell starts whole again.
    TotalVolume::Ptr volume = makeVolume(30, 12, 14, mixedStructure);
    QVERIFY(etch(*volume, 0.5));
    const SiLattice *lattice = volume->getSiLattice().get();
    const std::vector<quint32> between = materials(*volume);
    QVERIFY(etch(*volume, 0.0));
    QCOMPARE(volume->getSiLattice().get(), lattice);
    QCOMPARE(materials(*volume), between);
    checkCellsFollowAtoms(*volume);
    TotalVolume::Ptr fresh = TotalVolume::create(30, 12, 14, 1, 1, 1, Util::Vector3D(), between);
    QVERIFY(fresh->rebuildSiLattice());
    QCOMPARE(tags(*volume), tags(*fresh));
    QVERIFY(etch(*volume, 0.5));
    QVERIFY(etch(*fresh, 0.5));
    QCOMPARE(materials(*volume), materials(*fresh));
}

void TestAtomicStructureSimpleSiWetEtch::settledPitEndsTheEtch()
{
    // A square opening of 6 cells: the {111} sidewalls, moving in by d / sqrt(2) each, meet at
    // a depth of 6 / sqrt(2) = 4.2, well above the bottom of the silicon. The pit then stops
    // deepening, so a depth of 1e9 (4e9 steps) ends as soon as a step changes nothing, with
    // the cells of an etch of 20 (the progress stops a run that goes on beyond its 80 steps).
    auto open = [](quint32 v) { return v >= 5 && v < 11; };
    const auto shape = masked(10, [=](quint32 x, quint32 y) { return open(x) && open(y); });
    TotalVolume::Ptr reference = makeVolume(16, 16, 14, shape);
    QVERIFY(etch(*reference, 20.0));
    TotalVolume::Ptr volume = makeVolume(16, 16, 14, shape);
    Util::Progress progress;
    progress.cancelWhenDone(AtomicStructureSimpleSiWetEtch::stepsFor(20.0));
    Util::Progress::Scope scope(&progress);
    AtomicStructureSimpleSiWetEtch worker(volume.get(), 1e9);
    QVERIFY(worker.runEtching());
    QCOMPARE(worker.getStepsRun(), AtomicStructureSimpleSiWetEtch::stepsFor(1e9));
    QCOMPARE(materials(*volume), materials(*reference));
    QCOMPARE(materialAt(*volume, 8, 8, 9), 0u);
    QCOMPARE(materialAt(*volume, 8, 8, 4), 1u);
}

CELVANE_TEST_MAIN(TestAtomicStructureSimpleSiWetEtch)
#include "tst_atomicstructuresimplesiwetetch.moc"
