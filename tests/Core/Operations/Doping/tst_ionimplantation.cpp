#include "Core/Operations/Doping/ionimplantation.h"
#include "Model/Process/processfactory.h"
#include "testmain.h"
#include "workertestutil.h"

#include <limits>

using Core::Operations::IonImplantation;
using Core::Operations::MaterialSet;
using namespace WorkerTest;

namespace {

const quint32 pType = 15; // "P-doped Si (100)"

/// Silicon below z = 10 in a 12 x 10 x 16 volume.
quint32 flat(quint32, quint32, quint32 z)
{
    return z < 10 ? 1 : 0;
}

/// Columns of different heights, some capped by material 2 (not dopable), some empty, with a
/// cavity under a bridge.
quint32 uneven(quint32 x, quint32 y, quint32 z)
{
    if (x == 3 && y == 2)
        return 0; // an empty column
    const quint32 top = 4 + (x * 3 + y) % 6;
    if (z >= top)
        return 0;
    if (x % 5 == 1 && z + 1 == top)
        return 2; // a cap
    if (y == 5 && z + 4 == top)
        return 0; // a cavity below the top
    return 1;
}

} // namespace

class TestIonImplantation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Model::Process::ProcessFactory::instance()->loadDefaultProcesses(); }
    void withoutAnnealingTheThirdCellOfEachColumn();
    void annealingSpreadsTheLayer();
    void depthFollowsTheCellHeight_data();
    void depthFollowsTheCellHeight();
    void unusableOrZeroParametersChangeNothing_data();
    void unusableOrZeroParametersChangeNothing();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows(); }
    void sameCellsWithAnyThreadCount();
};

void TestIonImplantation::withoutAnnealingTheThirdCellOfEachColumn()
{
    // Depth 3 with unit cells: the third filled cell from the top of each column (the cell at
    // depth 3, |3 - 3| <= 0.5; depths 2 and 4 are a whole cell off) when it is dopable.
    const quint32 cx = 12, cy = 8, cz = 12;
    TotalVolume::Ptr v = makeVolume(cx, cy, cz, uneven);
    IonImplantation worker(v.get(), pType, 3.0f, 0.0f);
    QCOMPARE(worker.getPassCount(), quint64(0));
    QVERIFY(worker.runImplantation());
    int implanted = 0;
    for (quint32 x = 0; x < cx; ++x)
        for (quint32 y = 0; y < cy; ++y) {
            int top = -1;
            for (int z = int(cz) - 1; z >= 0 && top < 0; --z)
                if (uneven(x, y, quint32(z)) != 0)
                    top = z;
            for (quint32 z = 0; z < cz; ++z) {
                const quint32 was = uneven(x, y, z);
                const bool third = top >= 2 && int(z) == top - 2 && was == 1;
                implanted += third;
                QCOMPARE(materialAt(*v, x, y, z), third ? pType : was);
            }
        }
    QVERIFY(implanted > 50);
    QCOMPARE(countMaterial(materials(*v), pType), implanted);
    QVERIFY(arraysAgree(*v));
}

void TestIonImplantation::annealingSpreadsTheLayer()
{
    // Depth 5 puts the layer at z = 5 (the top cell z = 9 has depth 1); annealing 2 dopes what
    // lies within 2 of it through silicon: z = 3 .. 7.
    TotalVolume::Ptr v = makeVolume(12, 10, 16, flat);
    IonImplantation worker(v.get(), pType, 5.0f, 2.0f);
    QCOMPARE(worker.getPassCount(), quint64(3));
    QVERIFY(worker.runImplantation());
    for (quint32 z = 0; z < 16; ++z)
        QCOMPARE(materialAt(*v, 7, 2, z), z >= 10 ? 0u : (z >= 3 && z <= 7 ? pType : 1u));
    QCOMPARE(countMaterial(materials(*v), pType), 12 * 10 * 5);
    QVERIFY(arraysAgree(*v));
}

void TestIonImplantation::depthFollowsTheCellHeight_data()
{
    QTest::addColumn<float>("depth");
    QTest::addColumn<QList<int>>("layers"); // depths in cells from the top, 1 = top cell
    // Cells 0.5 high: cell k from the top has depth 0.5 k; within half a cell (0.25) counts.
    QTest::newRow("1.5") << 1.5f << QList<int>{3};
    QTest::newRow("1.2") << 1.2f << QList<int>{2};
    QTest::newRow("1.25 lies between two cells") << 1.25f << QList<int>{2, 3};
    QTest::newRow("0.1") << 0.1f << QList<int>{};
}

void TestIonImplantation::depthFollowsTheCellHeight()
{
    QFETCH(float, depth);
    QFETCH(QList<int>, layers);
    TotalVolume::Ptr v = makeVolume(
        6, 6, 16, [](quint32, quint32, quint32 z) { return z < 10 ? 1u : 0u; }, 0.5f);
    QVERIFY(IonImplantation(v.get(), pType, depth, 0.0f).runImplantation());
    for (quint32 z = 0; z < 10; ++z)
        QCOMPARE(materialAt(*v, 2, 3, z), layers.contains(10 - int(z)) ? pType : 1u);
}

void TestIonImplantation::unusableOrZeroParametersChangeNothing_data()
{
    QTest::addColumn<float>("depth");
    QTest::addColumn<float>("annealing");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("reason");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("zero: nothing to do") << 0.0f << 0.0f << false << "";
    QTest::newRow("negative depth") << -1.0f << 1.0f << true << "implantation depth";
    QTest::newRow("depth not a number") << nan << 1.0f << true << "implantation depth";
    QTest::newRow("negative annealing") << 3.0f << -1.0f << true << "annealing distance";
    QTest::newRow("annealing infinite")
        << 3.0f << std::numeric_limits<float>::infinity() << true << "annealing distance";
}

void TestIonImplantation::unusableOrZeroParametersChangeNothing()
{
    QFETCH(float, depth);
    QFETCH(float, annealing);
    QFETCH(bool, refused);
    QFETCH(QString, reason);
    TotalVolume::Ptr v = makeVolume(12, 8, 12, uneven);
    checkUnchanged(*v, refused, reason, [&](QString *error) {
        return IonImplantation(v.get(), pType, depth, annealing).runImplantation(error);
    });
}

void TestIonImplantation::sameCellsWithAnyThreadCount()
{
    // Doping to 15 with only silicon dopable: implanted cells are not dopable themselves.
    const MaterialSet dopable(QList<quint32>{1});
    for (float annealing : {0.0f, 1.5f, 3.0f})
        checkThreadAgreement(
            [&](TotalVolume *v) { return IonImplantation(v, pType, 3.0f, annealing, dopable); },
            [](IonImplantation &w, QString *e) { return w.runImplantation(e); });
}

CELVANE_TEST_MAIN(TestIonImplantation)
#include "tst_ionimplantation.moc"
