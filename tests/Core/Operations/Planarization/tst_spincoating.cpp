#include "Core/Operations/Planarization/spincoating.h"
#include "testmain.h"
#include "workertestutil.h"

using Core::Operations::SpinCoating;
using namespace WorkerTest;

namespace {

const quint32 resist = 5;

// 12 x 6 x 10: silicon below layer 2 with a trench at x in [4, 7), a closed cavity at layer 1
// under x = 9, and a material-2 pillar up to layer 7 at x = 1.
quint32 structure(quint32 x, quint32 y, quint32 z)
{
    if (x == 1 && y == 2 && z < 8)
        return 2;
    if (z == 1 && x == 9 && y == 3)
        return 0; // enclosed
    if (z < 2)
        return x >= 4 && x < 7 && z == 1 ? 0 : 1;
    return 0;
}

} // namespace

class TestSpinCoating : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillsEmptyCellsBelowTheHeight_data();
    void fillsEmptyCellsBelowTheHeight();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows({{8, 3, 1}}); }
    void sameCellsWithAnyThreadCount();
};

void TestSpinCoating::fillsEmptyCellsBelowTheHeight_data()
{
    QTest::addColumn<quint32>("height");
    QTest::addColumn<quint32>("filledBelow");
    QTest::newRow("height 3, cavities too") << 3u << 3u;
    QTest::newRow("height 0 changes nothing") << 0u << 0u;
    QTest::newRow("height 1") << 1u << 1u;
    QTest::newRow("above the volume: clipped") << 50u << 10u;
}

void TestSpinCoating::fillsEmptyCellsBelowTheHeight()
{
    QFETCH(quint32, height);
    QFETCH(quint32, filledBelow);
    TotalVolume::Ptr v = makeVolume(12, 6, 10, structure);
    const std::vector<quint32> before = materials(*v);
    SpinCoating worker(v.get(), resist, height);
    QCOMPARE(worker.getHeight(), filledBelow);
    QVERIFY(worker.runSpinCoating());
    const std::vector<quint32> after = materials(*v);
    for (quint32 x = 0; x < 12; ++x)
        for (quint32 y = 0; y < 6; ++y)
            for (quint32 z = 0; z < 10; ++z) {
                const quint64 i = v->getCellIndex(x, y, z);
                const quint32 expected = before[i] == 0 && z < filledBelow ? resist : before[i];
                QCOMPARE(after[i], expected);
            }
    if (height >= 2)
        QCOMPARE(materialAt(*v, 9, 3, 1), resist); // the closed cavity is filled too
    QVERIFY(arraysAgree(*v));
}

void TestSpinCoating::sameCellsWithAnyThreadCount()
{
    checkThreadAgreement([](TotalVolume *v) { return SpinCoating(v, resist, 10); },
                         [](SpinCoating &w, QString *e) { return w.runSpinCoating(e); });
}

CELVANE_TEST_MAIN(TestSpinCoating)
#include "tst_spincoating.moc"
