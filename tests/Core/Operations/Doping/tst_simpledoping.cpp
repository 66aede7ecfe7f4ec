#include "Core/Operations/Doping/simpledoping.h"
#include "Model/Process/processfactory.h"
#include "testmain.h"
#include "workertestutil.h"

#include <limits>

using Core::Operations::MaterialSet;
using Core::Operations::SimpleDoping;
using namespace WorkerTest;

namespace {

const quint32 nType = 14; // "N-doped Si (100)", itself dopable
const quint32 metal = 5;  // not dopable

/// Silicon below z = 10 in a 12 x 10 x 16 volume.
quint32 flat(quint32, quint32, quint32 z)
{
    return z < 10 ? 1 : 0;
}

} // namespace

class TestSimpleDoping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Model::Process::ProcessFactory::instance()->loadDefaultProcesses(); }
    void dopesToTheDepth_data();
    void dopesToTheDepth();
    void dopableSetComesFromTheCatalogue();
    void nonDopableFilmMasks();
    void otherMaterialsNeverChange();
    void dopingTwiceOnlyAddsTheLargerDepth();
    void depthOutOfUseChangesNothing_data();
    void depthOutOfUseChangesNothing();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows(); }
    void sameCellsWithAnyThreadCount();
};

void TestSimpleDoping::dopesToTheDepth_data()
{
    QTest::addColumn<float>("depth");
    QTest::addColumn<int>("layers");
    // The top silicon layer is 1 away from the empty cell above it, the next 2, ...
    QTest::newRow("1") << 1.0f << 1;
    QTest::newRow("2.5") << 2.5f << 2;
    QTest::newRow("3") << 3.0f << 3;
    QTest::newRow("6") << 6.0f << 6;
}

void TestSimpleDoping::dopesToTheDepth()
{
    QFETCH(float, depth);
    QFETCH(int, layers);
    TotalVolume::Ptr v = makeVolume(12, 10, 16, flat);
    QVERIFY(SimpleDoping(v.get(), nType, depth).runDoping());
    for (quint32 z = 0; z < 16; ++z)
        QCOMPARE(materialAt(*v, 6, 4, z), z >= 10 ? 0u : (int(z) >= 10 - layers ? nType : 1u));
    QCOMPARE(countMaterial(materials(*v), nType), 12 * 10 * layers);
    QVERIFY(arraysAgree(*v));
}

void TestSimpleDoping::dopableSetComesFromTheCatalogue()
{
    SimpleDoping worker(nullptr, nType, 1.0f);
    QCOMPARE(worker.getDopable().getIds(), (std::vector<quint32>{1, 14, 15, 16}));
}

void TestSimpleDoping::nonDopableFilmMasks()
{
    // A metal film two cells thick on the silicon for x < 8; open beyond.
    TotalVolume::Ptr v = makeVolume(16, 6, 16, [](quint32 x, quint32, quint32 z) {
        if (z < 8)
            return 1u;
        return x < 8 && z < 10 ? metal : 0u;
    });
    QVERIFY(SimpleDoping(v.get(), nType, 2.0f).runDoping());
    // Open silicon: two layers doped.
    QCOMPARE(materialAt(*v, 12, 3, 7), nType);
    QCOMPARE(materialAt(*v, 12, 3, 6), nType);
    QCOMPARE(materialAt(*v, 12, 3, 5), 1u);
    // Under the film only what lies within 2 of the opening's empty cells (x = 8, z = 8): the
    // cell (7, 7) at sqrt 2, (6, 7) at sqrt 5 is too far.
    QCOMPARE(materialAt(*v, 7, 3, 7), nType);
    QCOMPARE(materialAt(*v, 6, 3, 7), 1u);
    for (quint32 x = 0; x < 7; ++x)
        QCOMPARE(materialAt(*v, x, 3, 7), 1u);
    for (quint32 x = 0; x < 8; ++x)
        QCOMPARE(materialAt(*v, x, 3, 8), metal);
}

void TestSimpleDoping::otherMaterialsNeverChange()
{
    // Stripes of silicon and metal side by side, all touching space: only silicon is doped.
    TotalVolume::Ptr v = makeVolume(
        12, 8, 10, [](quint32 x, quint32, quint32 z) { return z < 6 ? (x % 2 ? metal : 1u) : 0u; });
    QVERIFY(SimpleDoping(v.get(), nType, 3.0f).runDoping());
    const std::vector<quint32> ids = materials(*v);
    QCOMPARE(countMaterial(ids, metal), 6 * 8 * 6);
    for (quint32 x = 1; x < 12; x += 2)
        for (quint32 z = 0; z < 6; ++z)
            QCOMPARE(materialAt(*v, x, 3, z), metal);
}

void TestSimpleDoping::dopingTwiceOnlyAddsTheLargerDepth()
{
    TotalVolume::Ptr v = makeVolume(12, 10, 16, flat);
    QVERIFY(SimpleDoping(v.get(), nType, 2.0f).runDoping());
    const std::vector<quint32> once = materials(*v);
    QVERIFY(SimpleDoping(v.get(), nType, 2.0f).runDoping());
    QCOMPARE(materials(*v), once);
    QVERIFY(SimpleDoping(v.get(), nType, 4.0f).runDoping());
    QCOMPARE(countMaterial(materials(*v), nType), 12 * 10 * 4);
}

void TestSimpleDoping::depthOutOfUseChangesNothing_data()
{
    QTest::addColumn<float>("depth");
    QTest::addColumn<bool>("refused");
    QTest::newRow("zero") << 0.0f << false;
    QTest::newRow("negative") << -1.0f << true;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << true;
    QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << true;
}

void TestSimpleDoping::depthOutOfUseChangesNothing()
{
    QFETCH(float, depth);
    QFETCH(bool, refused);
    TotalVolume::Ptr v = makeVolume(12, 10, 16, flat);
    if (!refused)
        QCOMPARE(SimpleDoping(v.get(), nType, depth).getPassCount(), quint64(0));
    checkUnchanged(*v, refused, QStringLiteral("depth"),
                   [&](QString *e) { return SimpleDoping(v.get(), nType, depth).runDoping(e); });
}

void TestSimpleDoping::sameCellsWithAnyThreadCount()
{
    // The mixed structure's material 2 is not dopable; doping to 15, which is not in the set
    // of the explicit list below, checks that converted cells stop the front too.
    const MaterialSet dopable(QList<quint32>{1});
    for (float depth : {1.0f, 2.5f, 4.0f})
        checkThreadAgreement([&](TotalVolume *v) { return SimpleDoping(v, 15, depth, dopable); },
                             [](SimpleDoping &w, QString *e) { return w.runDoping(e); });
}

CELVANE_TEST_MAIN(TestSimpleDoping)
#include "tst_simpledoping.moc"
