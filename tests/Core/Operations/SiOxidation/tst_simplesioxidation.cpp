#include "Core/Operations/SiOxidation/simplesioxidation.h"
#include "Model/Process/processfactory.h"
#include "testmain.h"
#include "workertestutil.h"

#include <cmath>
#include <limits>
#include <thread>

using Core::Operations::SimpleSiOxidation;
using namespace WorkerTest;

namespace {

const quint32 oxide = 3;
const quint32 nitride = 5; // not among the oxidizable materials: it covers

/// Silicon below z = 10 in a 12 x 10 x 20 volume.
quint32 flat(quint32, quint32, quint32 z)
{
    return z < 10 ? 1 : 0;
}

/// Equal to six significant digits, as the figures are quoted.
bool sixDigits(double value, double quoted)
{
    const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(quoted))) - 5);
    return std::fabs(value - quoted) <= 0.5 * unit * (1.0 + 1e-9);
}

int countInLayer(TotalVolume &v, quint32 z, quint32 material)
{
    int n = 0;
    for (quint32 x = 0; x < v.getCellsX(); ++x)
        for (quint32 y = 0; y < v.getCellsY(); ++y)
            n += materialAt(v, x, y, z) == material;
    return n;
}

} // namespace

class TestSimpleSiOxidation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Model::Process::ProcessFactory::instance()->loadDefaultProcesses(); }
    void dealGroveFigures();
    void timeGrowsTheDealGroveThickness();
    void flatFaceGrowsIntoSiliconAndSpace();
    void thresholdsAreSinglePrecision();
    void coveredSiliconDoesNotOxidise();
    void thinOxideChangesNothingAndTakesNoLock_data();
    void thinOxideChangesNothingAndTakesNoLock();
    void noPressureGivesNoThickness();
    void sameOxideWithAnyThreadCount_data() { threadAgreementRows(); }
    void sameOxideWithAnyThreadCount();
};

void TestSimpleSiOxidation::dealGroveFigures()
{
    const SimpleSiOxidation::DealGrove g = SimpleSiOxidation::dealGrove(2.0, 1273.0, 1.0);
    QVERIFY2(sixDigits(g.parabolicRate1Atm, 0.0105175),
             qPrintable(QString::number(g.parabolicRate1Atm, 'g', 12)));
    QVERIFY2(sixDigits(g.parabolicRate, 0.0105097),
             qPrintable(QString::number(g.parabolicRate, 'g', 12)));
    QVERIFY2(sixDigits(g.linearRate, 0.0803531),
             qPrintable(QString::number(g.linearRate, 'g', 12)));
    QVERIFY2(sixDigits(g.a, 0.130795), qPrintable(QString::number(g.a, 'g', 12)));
    QVERIFY2(sixDigits(g.tau, 0.370595), qPrintable(QString::number(g.tau, 'g', 12)));
    QVERIFY2(sixDigits(g.thickness, 0.105457), qPrintable(QString::number(g.thickness, 'g', 12)));
    // tau is the time an initial oxide of 0.025 um needs: (xi^2 + A xi) / B.
    QVERIFY(std::fabs(g.tau - (0.025 * 0.025 + g.a * 0.025) / g.parabolicRate) < 1e-12);
    // At half an atmosphere B and B/A both halve (the oxidant's concentration follows its
    // pressure): A stays 0.130795, tau doubles to 0.741190 and x = 0.0712827 um.
    const SimpleSiOxidation::DealGrove half = SimpleSiOxidation::dealGrove(2.0, 1273.0, 0.5);
    QVERIFY2(sixDigits(half.linearRate, 0.0401766),
             qPrintable(QString::number(half.linearRate, 'g', 12)));
    QVERIFY2(sixDigits(half.a, 0.130795), qPrintable(QString::number(half.a, 'g', 12)));
    QVERIFY2(sixDigits(half.tau, 0.741190), qPrintable(QString::number(half.tau, 'g', 12)));
    QVERIFY2(sixDigits(half.thickness, 0.0712827),
             qPrintable(QString::number(half.thickness, 'g', 12)));
    // With no time at all, the initial oxide is what there is.
    QVERIFY(std::fabs(SimpleSiOxidation::dealGrove(0.0, 1273.0, 1.0).thickness - 0.025) < 1e-12);
}

void TestSimpleSiOxidation::timeGrowsTheDealGroveThickness()
{
    // 2 h at 1273 K and 1 atm with 100 cell units per micron: X = 10.5457 cell units. Into the
    // silicon (0.3 X)^2 = 10.01 > d^2 for d = 0..3. In space the front carries distances only up
    // to 0.56 X = 5.91, so of the d < 0.6 X = 6.33 only d = 1..5 are reached.
    TotalVolume::Ptr v = makeVolume(12, 10, 20, flat);
    SimpleSiOxidation worker(v.get(), 100.0);
    DebugCapture capture;
    QVERIFY(worker.oxidateFor(2.0, 1273.0, 1.0));
    QVERIFY(std::fabs(worker.getOxideThickness() - 10.5457) < 5e-5);
    for (quint32 z = 0; z < 20; ++z)
        QCOMPARE(materialAt(*v, 5, 5, z), z < 6 ? 1u : (z < 15 ? oxide : 0u));
    QCOMPARE(countMaterial(materials(*v), oxide), 12 * 10 * 9);
    QVERIFY(arraysAgree(*v));

    // The figures go to the debug log, in this order, from the worker's source.
    const QStringList labels{"Time:",
                             "Temperature:",
                             "Pressure:",
                             "B (1 atm)",
                             "B",
                             "B/A",
                             "A",
                             "tau",
                             "Oxide thickness in microns",
                             "Oxide thickness in cell units"};
    QStringList seen;
    for (const DebugCapture::Message &m : capture.messages())
        if (m.function.contains(QLatin1String("oxidateFor"))) {
            QCOMPARE(m.file, QStringLiteral("Core/Operations/SiOxidation/simplesioxidation.cpp"));
            seen.append(m.text);
        }
    QCOMPARE(seen.size(), labels.size());
    for (int i = 0; i < labels.size(); ++i)
        QVERIFY2(seen[i].startsWith(labels[i] + QLatin1Char(' ')), qPrintable(seen[i]));
    QCOMPARE(seen[0], QStringLiteral("Time: 2"));
    QCOMPARE(seen[1], QStringLiteral("Temperature: 1273"));
    QCOMPARE(seen[3], QStringLiteral("B (1 atm) 0.0105175"));
    QCOMPARE(seen[8], QStringLiteral("Oxide thickness in microns 0.105457"));
    QCOMPARE(seen[9], QStringLiteral("Oxide thickness in cell units 10.5457"));
}

void TestSimpleSiOxidation::flatFaceGrowsIntoSiliconAndSpace()
{
    // X = 10 on a flat face of unit cells. The top silicon layer (z = 9) is the source. Silicon
    // converts where (0.3 X)^2 = 9 > d^2: d = 0, 1, 2, layers 9, 8, 7. Space converts where
    // (0.6 X)^2 = 36 > d^2: d = 1..5, layers 10..14. Layer 15 (d = 6) stays empty.
    // Given as 0.1 um at 100 cell units per micron, it is the same X.
    TotalVolume::Ptr v = makeVolume(12, 10, 20, flat);
    TotalVolume::Ptr microns = makeVolume(12, 10, 20, flat);
    SimpleSiOxidation worker(v.get(), 1.0);
    QVERIFY(worker.growOxide(10.0));
    QCOMPARE(worker.getPassCount(), quint64(17)); // trunc(10 * 1.7071)
    for (quint32 z = 0; z < 20; ++z) {
        const quint32 expected = z < 7 ? 1 : (z < 15 ? oxide : 0);
        QCOMPARE(countInLayer(*v, z, expected), 12 * 10);
    }
    const std::vector<quint32> ids = materials(*v);
    QCOMPARE(countMaterial(ids, 1), 12 * 10 * 7);
    QCOMPARE(countMaterial(ids, oxide), 12 * 10 * 8);
    QCOMPARE(countMaterial(ids, 0), 12 * 10 * 5);
    QVERIFY(arraysAgree(*v));
    // The front carries distances into the silicon up to 0.44 X = 4.4, the conversion takes
    // only what lies within 0.3 X: the cell 4 below the surface has its distance and stays Si.
    Voxel *cells = v->lockCells();
    const Voxel fourBelow = cells[v->getCellIndex(5, 5, 5)];
    const Voxel fiveBelow = cells[v->getCellIndex(5, 5, 4)];
    v->releaseCells();
    QCOMPARE(fourBelow.material, 1u);
    QCOMPARE(fourBelow.distance[2], 4.0f);
    QCOMPARE(fiveBelow.material, 1u);
    QCOMPARE(fiveBelow.distance[0], 10.0f); // never reached

    SimpleSiOxidation inMicrons(microns.get(), 100.0);
    QVERIFY(inMicrons.oxidateToThickness(0.1));
    QVERIFY(std::fabs(inMicrons.getOxideThickness() - 10.0) < 1e-9);
    QCOMPARE(materials(*microns), ids);
}

void TestSimpleSiOxidation::thresholdsAreSinglePrecision()
{
    // 0.3 X is a hair above 3 in double precision but rounds to exactly 3 as a float: the
    // comparison 9 > 9 fails, and the silicon three cells below the surface stays.
    const double x = (3.0 + 1e-8) / 0.3;
    QVERIFY(0.3 * x > 3.0);
    QCOMPARE(float(0.3 * x), 3.0f);
    TotalVolume::Ptr v = makeVolume(12, 10, 20, flat);
    QVERIFY(SimpleSiOxidation(v.get(), 1.0).growOxide(x));
    QCOMPARE(materialAt(*v, 4, 4, 7), oxide);
    QCOMPARE(materialAt(*v, 4, 4, 6), 1u);
}

void TestSimpleSiOxidation::coveredSiliconDoesNotOxidise()
{
    // Silicon below z = 8; a nitride cover two cells thick over x < 8, open beyond.
    TotalVolume::Ptr v = makeVolume(16, 6, 16, [](quint32 x, quint32, quint32 z) {
        if (z < 8)
            return 1u;
        return x < 8 && z < 10 ? nitride : 0u;
    });
    QVERIFY(SimpleSiOxidation(v.get(), 1.0).growOxide(10.0));
    // The open silicon oxidises three cells deep.
    QCOMPARE(materialAt(*v, 12, 3, 7), oxide);
    QCOMPARE(materialAt(*v, 12, 3, 5), oxide);
    QCOMPARE(materialAt(*v, 12, 3, 4), 1u);
    // Under the cover the silicon is no source; the front from the opening reaches only the
    // first cells beside it (distances 1 and 2 from the source at x = 8).
    QCOMPARE(materialAt(*v, 7, 3, 7), oxide);
    QCOMPARE(materialAt(*v, 6, 3, 7), oxide);
    QCOMPARE(materialAt(*v, 5, 3, 7), 1u);
    for (quint32 x = 0; x < 5; ++x)
        QCOMPARE(materialAt(*v, x, 3, 7), 1u);
    // The cover stays.
    for (quint32 x = 0; x < 8; ++x)
        for (quint32 z = 8; z < 10; ++z)
            QCOMPARE(materialAt(*v, x, 2, z), nitride);

    // Covered everywhere: nothing changes.
    TotalVolume::Ptr covered = makeVolume(10, 6, 16, [](quint32, quint32, quint32 z) {
        return z < 8 ? 1u : (z < 10 ? nitride : 0u);
    });
    const std::vector<quint32> before = materials(*covered);
    QVERIFY(SimpleSiOxidation(covered.get(), 1.0).growOxide(10.0));
    QCOMPARE(materials(*covered), before);
}

void TestSimpleSiOxidation::thinOxideChangesNothingAndTakesNoLock_data()
{
    QTest::addColumn<double>("thickness");
    QTest::newRow("below a cell") << 0.5;
    QTest::newRow("one cell") << 1.0;
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative") << -4.0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
}

void TestSimpleSiOxidation::thinOxideChangesNothingAndTakesNoLock()
{
    QFETCH(double, thickness);
    TotalVolume::Ptr v = makeVolume(12, 10, 20, flat);
    const Snapshot before = snapshot(*v);
    // With the cells locked elsewhere the growth step still returns: it takes no lock.
    v->lockCells();
    std::atomic<bool> done{false};
    bool ok = false;
    std::thread thread([&]() {
        SimpleSiOxidation worker(v.get(), 1.0);
        ok = worker.growOxide(thickness);
        done = true;
    });
    for (int i = 0; i < 200 && !done.load(); ++i)
        QThread::msleep(10);
    const bool returned = done.load();
    v->releaseCells();
    thread.join();
    QVERIFY(returned);
    QVERIFY(ok);
    QVERIFY(snapshot(*v) == before);
}

void TestSimpleSiOxidation::noPressureGivesNoThickness()
{
    TotalVolume::Ptr v = makeVolume(12, 10, 20, flat);
    const Snapshot before = snapshot(*v);
    SimpleSiOxidation worker(v.get(), 100.0);
    QVERIFY(worker.oxidateFor(2.0, 1273.0, 0.0));
    QVERIFY(std::isnan(worker.getDealGroveResult().thickness));
    QVERIFY(!SimpleSiOxidation::isUsableThickness(worker.getDealGroveResult().thickness));
    QVERIFY(snapshot(*v) == before);
    // A temperature of 0 K gives no rates at all.
    QVERIFY(!SimpleSiOxidation::isUsableThickness(SimpleSiOxidation::dealGrove(2, 0, 1).thickness));
    QVERIFY(
        SimpleSiOxidation::isUsableThickness(SimpleSiOxidation::dealGrove(2, 1273, 1).thickness));
}

void TestSimpleSiOxidation::sameOxideWithAnyThreadCount()
{
    for (double thickness : {2.5, 5.0, 8.0})
        checkThreadAgreement(
            [](TotalVolume *v) { return SimpleSiOxidation(v, 1.0); },
            [=](SimpleSiOxidation &w, QString *e) { return w.growOxide(thickness, e); });
}

CELVANE_TEST_MAIN(TestSimpleSiOxidation)
#include "tst_simplesioxidation.moc"
