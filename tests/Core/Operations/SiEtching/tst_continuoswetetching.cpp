#include "Core/Operations/SiEtching/atomicstructuresimplesiwetetch.h"
#include "Core/Operations/SiEtching/continuoswetetching.h"
#include "Core/Operations/SiEtching/siatomstestutil.h"
#include "Model/Automaton/totalvolume.h"
#include "testmain.h"
#include "workertestutil.h"

#include <cmath>
#include <map>
#include <memory>
#include <vector>

using Core::Operations::AtomicConfiguration;
using Core::Operations::AtomicStructureSimpleSiWetEtch;
using Core::Operations::ContinuosWetEtching;
using Model::Automaton::SiAtom;
using Model::Automaton::SiCell;
using Model::Automaton::SiLattice;
using Model::Automaton::TotalVolume;
using namespace WorkerTest;
using namespace SiAtoms;

namespace {

bool etch(TotalVolume &volume, double depth)
{
    return ContinuosWetEtching(&volume, depth).runEtching();
}

/// Atoms built by hand, linked as a test needs them. A boundary atom is fixed.
class Atoms
{
public:
    SiAtom *add(bool boundary = false)
    {
        atoms.emplace_back(new SiAtom(Util::Vector3D(), nullptr, boundary));
        return atoms.back().get();
    }
    /// An atom whose slots other than back hold fixed atoms (a bulk atom).
    SiAtom *addBulk(SiAtom *to, int slot)
    {
        SiAtom *atom = add();
        to->link(atom, slot);
        for (int k = 0; k < 4; ++k)
            if (k != 3 - slot)
                atom->link(add(true), k);
        return atom;
    }

private:
    // Atoms unlink themselves when destroyed.
    std::vector<std::unique_ptr<SiAtom>> atoms;
};

} // namespace

/// The continuous cellular-automaton wet etch of silicon.
class TestContinuosWetEtching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void configurationTable_data();
    void configurationTable();
    void unexpectedRate_data();
    void unexpectedRate();
    void classification();
    void atomsWearDownAtTheirRate();
    void flatTopLosesOneLayerInFourSteps();
    void carriesOnAfterTheAtomisticEtch();
    void pitHasTheSidewallsOfKoh();
    void threadsAgree_data() { threadAgreementRows({{4, 5, 1}, {6, 7, 1}}); }
    void threadsAgree();
    void atomsAgreeForAnyThreadCount();
};

void TestContinuosWetEtching::configurationTable_data()
{
    QTest::addColumn<QList<int>>("quadruple");
    QTest::addColumn<int>("number");
    QTest::addColumn<double>("rate");
    const struct
    {
        int ns1, nb1, ns2, nb2;
        double rate;
    } table[] = {
        {0, 3, 4, 7, 0.00867}, {0, 3, 6, 5, 0.00867}, {0, 3, 3, 7, 0.00867}, {0, 3, 5, 5, 0.00867},
        {0, 3, 2, 7, 0.00867}, {0, 3, 4, 5, 0.00867}, {0, 3, 6, 3, 0.00867}, {1, 2, 3, 6, 4.115},
        {1, 2, 2, 6, 4.208},   {1, 2, 3, 5, 6.449},   {1, 2, 2, 5, 3.932},   {1, 2, 4, 3, 6.449},
        {2, 1, 4, 5, 5.223},   {2, 1, 1, 6, 4.115},   {2, 1, 2, 5, 4.115},   {2, 1, 4, 3, 5.223},
        {2, 1, 0, 6, 4.847},   {2, 1, 1, 5, 4.847},   {0, 2, 5, 5, 3.188},   {0, 2, 2, 6, 3.188},
        {0, 2, 3, 5, 3.188},   {0, 2, 4, 4, 3.188},   {0, 2, 3, 4, 7.0},     {0, 2, 5, 2, 7.0},
        {1, 1, 4, 5, 6.5},     {1, 1, 2, 5, 6.5},     {1, 1, 3, 4, 5.49},    {1, 1, 2, 4, 5.0},
        {1, 1, 3, 3, 5.0},     {0, 1, 6, 3, 6.0},     {0, 1, 4, 3, 6.0},     {0, 1, 5, 2, 6.0},
        {0, 1, 6, 1, 4.115}};
    int number = 0;
    for (const auto &row : table) {
        QTest::addRow("%d", number)
            << QList<int>{row.ns1, row.nb1, row.ns2, row.nb2} << number << row.rate;
        ++number;
    }
    QTest::newRow("three surface neighbours") << QList<int>{3, 0, 0, 0} << 33 << -1.0;
    QTest::newRow("swapped second counts") << QList<int>{0, 3, 7, 4} << 33 << -1.0;
    QTest::newRow("negative") << QList<int>{-1, 3, 4, 7} << 33 << -1.0;
    QTest::newRow("beyond twelve") << QList<int>{0, 1, 13, 0} << 33 << -1.0;
}

void TestContinuosWetEtching::configurationTable()
{
    QFETCH(QList<int>, quadruple);
    QFETCH(int, number);
    QFETCH(double, rate);
    DebugCapture capture;
    const AtomicConfiguration found = ContinuosWetEtching::getAtomicConfiguration(
        quadruple[0], quadruple[1], quadruple[2], quadruple[3]);
    QCOMPARE(int(found), number);
    const ContinuosWetEtching engine(nullptr, 1.0);
    if (number < 33) {
        QCOMPARE(engine.getRate(found, quadruple[0], quadruple[1]), rate);
        QVERIFY(capture.messages().isEmpty());
    } else {
        QCOMPARE(capture.messages().size(), 1);
        QCOMPARE(
            capture.messages().first().text,
            QStringLiteral("Unexpected configuration found (ns1, nb1, ns2, nb2): (%1,%2,%3,%4)")
                .arg(quadruple[0])
                .arg(quadruple[1])
                .arg(quadruple[2])
                .arg(quadruple[3]));
    }
}

void TestContinuosWetEtching::unexpectedRate_data()
{
    // An unlisted neighbourhood of a listed first-neighbour kind etches like the slowest listed
    // one of that kind; an unlisted kind (only surface first neighbours) like the fastest listed
    // one with as many first neighbours; an atom without neighbours within one step (1 / 0.1).
    QTest::addColumn<int>("ns1");
    QTest::addColumn<int>("nb1");
    QTest::addColumn<double>("rate");
    QTest::newRow("{111}-like: three bulk") << 0 << 3 << 0.00867;
    QTest::newRow("(1, 2)") << 1 << 2 << 3.932;
    QTest::newRow("(2, 1)") << 2 << 1 << 4.115;
    QTest::newRow("(100)-like: two bulk") << 0 << 2 << 3.188;
    QTest::newRow("(1, 1)") << 1 << 1 << 5.0;
    QTest::newRow("(0, 1)") << 0 << 1 << 4.115;
    QTest::newRow("three surface") << 3 << 0 << 6.449;
    QTest::newRow("two surface") << 2 << 0 << 7.0;
    QTest::newRow("one surface") << 1 << 0 << 6.0;
    QTest::newRow("alone") << 0 << 0 << 10.0;
}

void TestContinuosWetEtching::unexpectedRate()
{
    QFETCH(int, ns1);
    QFETCH(int, nb1);
    QFETCH(double, rate);
    const ContinuosWetEtching engine(nullptr, 1.0);
    QCOMPARE(engine.getRate(Core::Operations::UnexpectedConfiguration, ns1, nb1), rate);
}

void TestContinuosWetEtching::classification()
{
    {
        // Slot 0: a bulk atom whose other slots hold fixed atoms (3 bulk second neighbours);
        // slot 1: absent (not counted); slot 2: fixed (bulk, nothing behind it); slot 3 empty.
        Atoms atoms;
        SiAtom *atom = atoms.add();
        atoms.addBulk(atom, 0);
        SiAtom *gone = atoms.add();
        atom->link(gone, 1);
        gone->setState(SiAtom::Absent);
        atom->link(atoms.add(true), 2);
        const ContinuosWetEtching::Neighbourhood n = ContinuosWetEtching::classify(*atom);
        QCOMPARE(QList<int>({n.ns1, n.nb1, n.ns2, n.nb2}), QList<int>({0, 2, 0, 3}));
    }
    {
        // Two surface first neighbours that share one surface atom M: M counts twice.
        Atoms atoms;
        SiAtom *atom = atoms.add();
        SiAtom *left = atoms.add(), *right = atoms.add(), *shared = atoms.add();
        atom->link(left, 0);
        atom->link(right, 1);
        left->link(shared, 1);
        right->link(shared, 0);
        const ContinuosWetEtching::Neighbourhood n = ContinuosWetEtching::classify(*atom);
        QCOMPARE(QList<int>({n.ns1, n.nb1, n.ns2, n.nb2}), QList<int>({2, 0, 2, 0}));
    }
}

void TestContinuosWetEtching::atomsWearDownAtTheirRate()
{
    const ContinuosWetEtching engine(nullptr, 1.0);
    QCOMPARE(engine.getTimeStep(), 0.1);
    Atoms atoms;
    // Configuration 22 (rate 7.0): 1 - 0.7 = 0.3 after one step, nothing after the second.
    SiAtom *fast = atoms.add();
    const double rate22 = engine.getRate(Core::Operations::Configuration22, 0, 2);
    QVERIFY(!engine.wear(*fast, rate22));
    QVERIFY(std::fabs(fast->getRemaining() - 0.3f) < 1e-6f);
    QVERIFY(engine.wear(*fast, rate22));
    QCOMPARE(fast->getRemaining(), 0.0f);
    // Configuration 0 (rate 0.00867): 0.000867 per step, 0.133 left after a thousand.
    SiAtom *slow = atoms.add();
    const double rate0 = engine.getRate(Core::Operations::Configuration0, 0, 3);
    for (int step = 0; step < 1000; ++step)
        QVERIFY(!engine.wear(*slow, rate0));
    QVERIFY(std::fabs(slow->getRemaining() - 0.133f) < 1e-4f);
    // Four bulk first neighbours: never consumed, whatever lies behind them.
    SiAtom *held = atoms.add();
    for (int k = 0; k < 4; ++k)
        atoms.addBulk(held, k);
    quint64 unexpected = 0;
    for (int step = 0; step < 1000; ++step)
        QVERIFY(!engine.consume(*held, unexpected));
    QCOMPARE(held->getRemaining(), 1.0f);
    // One fixed neighbour only, (0, 1, 0, 0), is unexpected: at 4.115 it goes at its third step
    // (1 - 3 x 0.4115 < 0), and each step counts it.
    SiAtom *loose = atoms.add();
    loose->link(atoms.add(true), 3);
    QVERIFY(!engine.consume(*loose, unexpected));
    QVERIFY(!engine.consume(*loose, unexpected));
    QVERIFY(engine.consume(*loose, unexpected));
    QCOMPARE(unexpected, quint64(3));
}

void TestContinuosWetEtching::flatTopLosesOneLayerInFourSteps()
{
    // Silicon below z = 6; the top atomic layer (z = 5.75) is held by two bulk atoms whose other
    // bonds reach two surface and four bulk atoms: (0, 2, 2, 4), unlisted, so the rate is 3.188
    // and an atom goes at its fourth step (1 - 3 x 0.3188 = 0.0436). The sides of the volume
    // hold like a mask: the count stays 2 cells away from them.
    for (int steps : {3, 4, 8, 40}) {
        TotalVolume::Ptr volume =
            makeVolume(12, 12, 16, [](quint32, quint32, quint32 z) { return z < 14 ? 1u : 0u; });
        QVERIFY(volume->rebuildSiLattice());
        const auto full = presentPerLayer(*volume->getSiLattice(), 2.0, 12.0);
        QCOMPARE(full.rbegin()->first, 55);
        DebugCapture capture;
        ContinuosWetEtching worker(volume.get(), double(steps) / 4.0);
        QVERIFY(worker.runEtching());
        QCOMPARE(worker.getStepsRun(), quint64(steps)); // depth 10 gives 40 steps
        QVERIFY(worker.getUnexpectedConfigurations() > 0);
        const auto layers = presentPerLayer(*volume->getSiLattice(), 2.0, 12.0);
        const int gone = steps / 4;
        QCOMPARE(layers.rbegin()->first, 55 - gone);
        QCOMPARE(layers.rbegin()->second.first, full.at(55 - gone).first);
        const float expected = steps % 4 == 3 ? 0.0436f : 1.0f;
        QVERIFY(std::fabs(layers.rbegin()->second.second - expected) < 1e-5f);
        // The count is written once.
        int lines = 0;
        for (const DebugCapture::Message &m : capture.messages())
            lines += m.text.startsWith(QLatin1String("Unexpected configuration"));
        QCOMPARE(lines, 1);
    }
}

void TestContinuosWetEtching::carriesOnAfterTheAtomisticEtch()
{
    // The continuous etch works on the crystal the atomistic one left, and every present atom
    // starts whole, however much of it an earlier continuous etch consumed.
    TotalVolume::Ptr volume = makeVolume(30, 12, 14, mixedStructure);
    QVERIFY(etch(*volume, 0.75));
    const SiLattice *lattice = volume->getSiLattice().get();
    QVERIFY(AtomicStructureSimpleSiWetEtch(volume.get(), 0.5).runEtching());
    QVERIFY(etch(*volume, 0.0));
    QCOMPARE(volume->getSiLattice().get(), lattice);
    int present = 0;
    bool whole = true;
    for (const auto &state : atomStates(*lattice))
        if (state.first == SiAtom::Present) {
            ++present;
            whole = whole && state.second == 1.0f;
        }
    QVERIFY(present > 0);
    QVERIFY(whole);
}

void TestContinuosWetEtching::pitHasTheSidewallsOfKoh()
{
    // A (100) wafer: silicon below z = 20 under an oxide mask with a square opening of 24
    // cells. The walls must be {111} planes through the mask edges, at 54.74 degrees to the
    // surface (inset d / tan(54.74) at depth d), and the bottom flat.
    const quint32 top = 20, lo = 10, hi = 34, size = 44;
    auto open = [=](quint32 v) { return v >= lo && v < hi; };
    TotalVolume::Ptr volume = makeVolume(
        size, size, 24, masked(top, [=](quint32 x, quint32 y) { return open(x) && open(y); }));
    QVERIFY(etch(*volume, 32.0));
    // The bottom: the same height in the middle of the pit.
    quint32 bottom = top;
    while (bottom > 0 && materialAt(*volume, 22, 22, bottom - 1) == 0)
        --bottom;
    QVERIFY2(top - bottom >= 6, qPrintable(QStringLiteral("bottom at %1").arg(bottom)));
    for (quint32 x = 20; x < 24; ++x)
        for (quint32 y = 20; y < 24; ++y) {
            QCOMPARE(materialAt(*volume, x, y, bottom), 0u);
            QCOMPARE(materialAt(*volume, x, y, bottom - 1), 1u);
        }
    // The inset of the walls against depth, along x and along y, fitted by least squares.
    double sd = 0, si = 0, sdd = 0, sdi = 0;
    int n = 0;
    for (quint32 z = bottom + 1; z < top; ++z) {
        const double d = double(top) - (double(z) + 0.5);
        int acrossY = 0, acrossX = 0;
        for (quint32 v = 0; v < size; ++v) {
            acrossY += materialAt(*volume, 22, v, z) == 0;
            acrossX += materialAt(*volume, v, 22, z) == 0;
        }
        for (int across : {acrossX, acrossY}) {
            const double inset = (double(hi - lo) - across) / 2.0;
            sd += d;
            si += inset;
            sdd += d * d;
            sdi += d * inset;
            ++n;
        }
    }
    const double slope = (n * sdi - sd * si) / (n * sdd - sd * sd);
    const double angle = std::atan(1.0 / slope) * 180.0 / M_PI;
    QVERIFY2(std::fabs(angle - 54.74) <= 2.0, qPrintable(QStringLiteral("%1 degrees").arg(angle)));
    // No undercut: the silicon under the mask, next to the opening, stays.
    for (quint32 v = lo; v < hi; ++v) {
        QCOMPARE(materialAt(*volume, lo - 1, v, top - 1), 1u);
        QCOMPARE(materialAt(*volume, hi, v, top - 1), 1u);
        QCOMPARE(materialAt(*volume, v, lo - 1, top - 1), 1u);
        QCOMPARE(materialAt(*volume, v, hi, top - 1), 1u);
    }
}

void TestContinuosWetEtching::threadsAgree()
{
    checkThreadAgreement(
        [](TotalVolume *v) { return ContinuosWetEtching(v, 4.0); },
        [](ContinuosWetEtching &w, QString *error) { return w.runEtching(error); });
}

void TestContinuosWetEtching::atomsAgreeForAnyThreadCount()
{
    // States and remaining fractions of every atom, and the unexpected count.
    std::vector<std::pair<quint32, float>> reference;
    quint64 unexpected = 0;
    for (int threads : {1, 2, 3, 5}) {
        ThreadCount pool(threads);
        TotalVolume::Ptr volume = makeVolume(40, 9, 14, mixedStructure);
        ContinuosWetEtching worker(volume.get(), 1.5);
        QCOMPARE(worker.getStripCount(), threads);
        QVERIFY(worker.runEtching());
        const auto states = atomStates(*volume->getSiLattice());
        if (reference.empty()) {
            reference = states;
            unexpected = worker.getUnexpectedConfigurations();
        }
        QVERIFY(states == reference);
        QCOMPARE(worker.getUnexpectedConfigurations(), unexpected);
    }
}

CELVANE_TEST_MAIN(TestContinuosWetEtching)
#include "tst_continuoswetetching.moc"
