#include "Core/Operations/Isotropic/isotropicfilmetching.h"
#include "testmain.h"
#include "workertestutil.h"

#include <limits>

using Core::Operations::IsotropicFilmEtching;
using namespace WorkerTest;

namespace {

const quint32 silicon = 1;
const quint32 mask = 7;

// 12 x 1 x 6: silicon below z = 4, a mask layer at z = 4 with an opening at x = 5 and 6.
quint32 maskedSilicon(quint32 x, quint32, quint32 z)
{
    if (z < 4)
        return silicon;
    if (z == 4)
        return x == 5 || x == 6 ? 0 : mask;
    return 0;
}

} // namespace

class TestIsotropicFilmEtching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void etchThroughAMaskOpening();
    void etchDepthIsAWorldDistance();
    void otherMaterialsTouchingSpaceStay();
    void nothingToEtchChangesNothing();
    void outsideOfTheVolumeIsNotEmpty();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows(); }
    void sameCellsWithAnyThreadCount();
};

void TestIsotropicFilmEtching::etchThroughAMaskOpening()
{
    // Depth 2 from the opening cells (5,4) and (6,4): straight down (5,3) and (5,2) at 1 and 2,
    // sideways under the mask (4,3) at sqrt 2; (3,3) is sqrt 5 through silicon and only 2 from
    // the space above the mask, which it cannot reach through the mask.
    TotalVolume::Ptr v = makeVolume(12, 1, 6, maskedSilicon);
    const std::vector<quint32> before = materials(*v);
    QVERIFY(IsotropicFilmEtching(v.get(), silicon, 2.0f).runEtching());
    const std::vector<quint32> after = materials(*v);
    for (quint32 x = 0; x < 12; ++x)
        for (quint32 z = 0; z < 6; ++z) {
            const bool etched = (z == 3 && x >= 4 && x <= 7) || (z == 2 && (x == 5 || x == 6));
            const quint64 i = v->getCellIndex(x, 0, z);
            QCOMPARE(after[i], etched ? 0u : before[i]);
        }
    QCOMPARE(countMaterial(after, mask), 10); // the mask is never removed
    QVERIFY(arraysAgree(*v));
}

void TestIsotropicFilmEtching::etchDepthIsAWorldDistance()
{
    // A silicon slab below z = 6 in cells 0.5 high: depth 1.25 reaches 2 cells (0.5, 1.0).
    TotalVolume::Ptr v = makeVolume(
        6, 6, 10, [](quint32, quint32, quint32 z) { return z < 6 ? silicon : 0u; }, 0.5f);
    QVERIFY(IsotropicFilmEtching(v.get(), silicon, 1.25f).runEtching());
    for (quint32 z = 0; z < 10; ++z)
        QCOMPARE(materialAt(*v, 2, 3, z), z < 4 ? silicon : 0u);
}

void TestIsotropicFilmEtching::otherMaterialsTouchingSpaceStay()
{
    TotalVolume::Ptr v = makeVolume(30, 9, 14, mixedStructure);
    const std::vector<quint32> before = materials(*v);
    QVERIFY(IsotropicFilmEtching(v.get(), silicon, 3.0f).runEtching());
    const std::vector<quint32> after = materials(*v);
    for (size_t i = 0; i < after.size(); ++i) {
        if (before[i] != silicon)
            QCOMPARE(after[i], before[i]);
        else
            QVERIFY(after[i] == silicon || after[i] == 0);
    }
    QVERIFY(countMaterial(after, silicon) < countMaterial(before, silicon));
}

void TestIsotropicFilmEtching::nothingToEtchChangesNothing()
{
    // Depths out of use are refused; a depth of 0 or an absent material leave nothing to do.
    TotalVolume::Ptr v = makeVolume(12, 1, 6, maskedSilicon);
    for (float depth : {0.0f, -2.0f, std::numeric_limits<float>::quiet_NaN()})
        checkUnchanged(*v, !(depth >= 0.0f), QStringLiteral("depth"), [&](QString *e) {
            return IsotropicFilmEtching(v.get(), silicon, depth).runEtching(e);
        });
    checkUnchanged(*v, false, QString(), [&](QString *e) {
        return IsotropicFilmEtching(v.get(), 9, 3.0f).runEtching(e);
    });
}

void TestIsotropicFilmEtching::outsideOfTheVolumeIsNotEmpty()
{
    TotalVolume::Ptr v = makeVolume(5, 5, 5, [](quint32, quint32, quint32) { return silicon; });
    QVERIFY(IsotropicFilmEtching(v.get(), silicon, 3.0f).runEtching());
    QCOMPARE(countMaterial(materials(*v), silicon), 125);
}

void TestIsotropicFilmEtching::sameCellsWithAnyThreadCount()
{
    for (quint32 material : {1u, 2u})
        for (float depth : {1.0f, 2.5f, 4.0f})
            checkThreadAgreement(
                [=](TotalVolume *v) { return IsotropicFilmEtching(v, material, depth); },
                [](IsotropicFilmEtching &w, QString *e) { return w.runEtching(e); });
}

CELVANE_TEST_MAIN(TestIsotropicFilmEtching)
#include "tst_isotropicfilmetching.moc"
