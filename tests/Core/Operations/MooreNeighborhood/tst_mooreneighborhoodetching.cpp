#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetching.h"
#include "testmain.h"
#include "workertestutil.h"

using Core::Operations::MooreNeighborhoodEtching;
using namespace WorkerTest;

namespace {

const quint32 silicon = 1;
const quint32 mask = 7;

// 10 x 1 x 6: silicon below z = 4, its top layer replaced by a mask over x in [3, 7).
quint32 maskedSilicon(quint32 x, quint32, quint32 z)
{
    if (z == 3 && x >= 3 && x < 7)
        return mask;
    return z < 4 ? silicon : 0;
}

} // namespace

class TestMooreNeighborhoodEtching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void maskShieldsExceptDiagonally();
    void stepsRemoveWholeLayers();
    void materialOutOfReachOfSpaceStays();
    void zeroStepsChangeNothing();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows(); }
    void sameCellsWithAnyThreadCount();
};

void TestMooreNeighborhoodEtching::maskShieldsExceptDiagonally()
{
    // Step 1 removes the exposed silicon of the top layer (x < 3 and x >= 7). Step 2 removes
    // the layer below it and reaches diagonally under the mask edge, (3, 2) and (6, 2); the
    // silicon under the middle of the mask, (4, 2) and (5, 2), is three moves away.
    TotalVolume::Ptr v = makeVolume(10, 1, 6, maskedSilicon);
    const std::vector<quint32> before = materials(*v);
    QVERIFY(MooreNeighborhoodEtching(v.get(), silicon, 2).runEtching());
    const std::vector<quint32> after = materials(*v);
    for (quint32 x = 0; x < 10; ++x)
        for (quint32 z = 0; z < 6; ++z) {
            const bool etched = (z == 3 && (x < 3 || x >= 7)) || (z == 2 && (x < 4 || x >= 6));
            const quint64 i = v->getCellIndex(x, 0, z);
            QCOMPARE(after[i], etched ? 0u : before[i]);
        }
    QCOMPARE(countMaterial(after, mask), 4);
    QVERIFY(arraysAgree(*v));
}

void TestMooreNeighborhoodEtching::stepsRemoveWholeLayers()
{
    // A silicon cube of 6 in the middle of 10 x 10 x 10 loses one cell from every face, edge
    // and corner per step: after 2 steps a cube of 2 is left.
    TotalVolume::Ptr v = makeVolume(10, 10, 10, [](quint32 x, quint32 y, quint32 z) {
        return x >= 2 && x < 8 && y >= 2 && y < 8 && z >= 2 && z < 8 ? silicon : 0u;
    });
    QVERIFY(MooreNeighborhoodEtching(v.get(), silicon, 2).runEtching());
    const std::vector<quint32> after = materials(*v);
    QCOMPARE(countMaterial(after, silicon), 8);
    QCOMPARE(materialAt(*v, 4, 4, 4), silicon);
    QCOMPARE(materialAt(*v, 5, 5, 5), silicon);
}

void TestMooreNeighborhoodEtching::materialOutOfReachOfSpaceStays()
{
    // A buried block of material 2 touches no empty cell.
    TotalVolume::Ptr v = makeVolume(10, 10, 10, [](quint32 x, quint32 y, quint32 z) {
        if (z >= 8)
            return 0u;
        return x >= 3 && x < 6 && y >= 3 && y < 6 && z >= 2 && z < 5 ? 2u : silicon;
    });
    const std::vector<quint32> before = materials(*v);
    QVERIFY(MooreNeighborhoodEtching(v.get(), 2, 5).runEtching());
    QCOMPARE(materials(*v), before);
}

void TestMooreNeighborhoodEtching::zeroStepsChangeNothing()
{
    TotalVolume::Ptr v = makeVolume(10, 1, 6, maskedSilicon);
    for (int steps : {0, -3})
        checkUnchanged(*v, steps < 0, QString(), [&](QString *e) {
            return MooreNeighborhoodEtching(v.get(), silicon, steps).runEtching(e);
        });
}

void TestMooreNeighborhoodEtching::sameCellsWithAnyThreadCount()
{
    for (quint32 material : {1u, 2u})
        for (int steps : {1, 3})
            checkThreadAgreement(
                [=](TotalVolume *v) { return MooreNeighborhoodEtching(v, material, steps); },
                [](MooreNeighborhoodEtching &w, QString *e) { return w.runEtching(e); });
}

CELVANE_TEST_MAIN(TestMooreNeighborhoodEtching)
#include "tst_mooreneighborhoodetching.moc"
