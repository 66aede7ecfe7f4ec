#include "Core/Operations/Planarization/planarization.h"
#include "testmain.h"
#include "workertestutil.h"

using Core::Operations::Planarization;
using namespace WorkerTest;

namespace {

// 12 x 6 x 14: silicon up to layer 6, a material-2 structure up to layer 9 over x < 6, a
// cavity at layer 3.
quint32 structure(quint32 x, quint32 y, quint32 z)
{
    if (z == 3 && x > 2 && x < 8 && y > 1 && y < 4)
        return 0;
    if (z <= 6)
        return 1;
    return z <= 9 && x < 6 ? 2 : 0;
}

} // namespace

class TestPlanarization : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keepsTheSlabBetweenTheHeights_data();
    void keepsTheSlabBetweenTheHeights();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows({{8, 3, 1}, {14, 5, 1}}); }
    void sameCellsWithAnyThreadCount();
    void logsItsSettings();
};

void TestPlanarization::keepsTheSlabBetweenTheHeights_data()
{
    QTest::addColumn<quint32>("maximum");
    QTest::addColumn<quint32>("minimum");
    QTest::addColumn<quint32>("firstKept");
    QTest::addColumn<quint32>("endKept");
    QTest::newRow("whole volume: nothing changes") << 14u << 0u << 0u << 14u;
    QTest::newRow("maximum beyond the volume: nothing changes") << 1000u << 0u << 0u << 14u;
    QTest::newRow("maximum 5") << 5u << 0u << 0u << 5u;
    QTest::newRow("slab 2 to 6") << 6u << 2u << 2u << 6u;
    QTest::newRow("minimum only") << 14u << 4u << 4u << 14u;
    QTest::newRow("maximum 0 empties all") << 0u << 0u << 0u << 0u;
    QTest::newRow("minimum above maximum empties all") << 5u << 8u << 0u << 0u;
    QTest::newRow("minimum beyond the volume empties all") << 14u << 20u << 0u << 0u;
}

void TestPlanarization::keepsTheSlabBetweenTheHeights()
{
    QFETCH(quint32, maximum);
    QFETCH(quint32, minimum);
    QFETCH(quint32, firstKept);
    QFETCH(quint32, endKept);
    TotalVolume::Ptr v = makeVolume(12, 6, 14, structure);
    const std::vector<quint32> before = materials(*v);
    QVERIFY(Planarization(v.get(), maximum, minimum).runPlanarization());
    const std::vector<quint32> after = materials(*v);
    for (quint32 x = 0; x < 12; ++x)
        for (quint32 y = 0; y < 6; ++y)
            for (quint32 z = 0; z < 14; ++z) {
                const quint64 i = v->getCellIndex(x, y, z);
                QCOMPARE(after[i], z >= firstKept && z < endKept ? before[i] : 0u);
            }
    QVERIFY(arraysAgree(*v));
}

void TestPlanarization::sameCellsWithAnyThreadCount()
{
    checkThreadAgreement([](TotalVolume *v) { return Planarization(v, 8, 1); },
                         [](Planarization &w, QString *e) { return w.runPlanarization(e); });
}

void TestPlanarization::logsItsSettings()
{
    ThreadCount pool(3);
    TotalVolume::Ptr v = makeVolume(12, 6, 14, structure);
    DebugCapture capture;
    QVERIFY(Planarization(v.get(), 5, 0).runPlanarization());
    // w = 12 / 3 = 4 columns of 6 x 14 cells.
    QCOMPARE(capture.find(QStringLiteral("Threads ")).text, QStringLiteral("Threads 3"));
    const DebugCapture::Message cells = capture.find(QStringLiteral("Cells per thread "));
    QCOMPARE(cells.text, QStringLiteral("Cells per thread 336"));
    QCOMPARE(cells.file, QStringLiteral("Core/Operations/Planarization/planarization.cpp"));
    QVERIFY(cells.function.contains(QLatin1String("runPlanarization")));
    QVERIFY(capture.find(QStringLiteral("Elapsed time ")).text.size() > 13);
}

CELVANE_TEST_MAIN(TestPlanarization)
#include "tst_planarization.moc"
