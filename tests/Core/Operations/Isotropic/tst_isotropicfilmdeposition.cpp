#include "Core/Operations/Isotropic/isotropicfilmdeposition.h"
#include "testmain.h"
#include "workertestutil.h"

#include <cmath>
#include <limits>

using Core::Operations::IsotropicFilmDeposition;
using namespace WorkerTest;

namespace {

const quint32 film = 2;

// A 8 x 8 x 4 silicon block standing on the bottom of a 16 x 16 x 10 volume.
quint32 block(quint32 x, quint32 y, quint32 z)
{
    return x >= 4 && x < 12 && y >= 4 && y < 12 && z < 4 ? 1 : 0;
}

/// Squared Euclidean distance, in cells, from (x, y, z) to the nearest cell of the block.
int squaredDistanceToBlock(int x, int y, int z)
{
    const int dx = x < 4 ? 4 - x : (x > 11 ? x - 11 : 0);
    const int dy = y < 4 ? 4 - y : (y > 11 ? y - 11 : 0);
    const int dz = z > 3 ? z - 3 : 0;
    return dx * dx + dy * dy + dz * dz;
}

} // namespace

class TestIsotropicFilmDeposition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void thicknessTwoRunsThreePassesAndFillsTheBall();
    void filmOnAFlatTopFaceIsRoundedAtConvexCorners();
    void filmFollowsTheCellSize();
    void unusableOrZeroThicknessChangesNothing_data();
    void unusableOrZeroThicknessChangesNothing();
    void outsideOfTheVolumeIsNotASource();
    void hugeThicknessFillsAllSpaceAndEnds();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows(); }
    void sameCellsWithAnyThreadCount();
};

void TestIsotropicFilmDeposition::thicknessTwoRunsThreePassesAndFillsTheBall()
{
    // One filled cell in the middle of 7 x 7 x 7: the film is every cell centre within 2 of it,
    // offsets with dx^2 + dy^2 + dz^2 <= 4: 6 + 12 + 8 + 6 = 32 cells. The 8 cells at (1,1,1)
    // need the third pass.
    TotalVolume::Ptr v = makeVolume(7, 7, 7, [](quint32 x, quint32 y, quint32 z) {
        return x == 3 && y == 3 && z == 3 ? 1u : 0u;
    });
    IsotropicFilmDeposition worker(v.get(), film, 2.0f);
    QCOMPARE(worker.getPassCount(), quint64(3));
    QVERIFY(worker.runDeposition());
    const std::vector<quint32> ids = materials(*v);
    QCOMPARE(countMaterial(ids, film), 32);
    for (quint32 x = 0; x < 7; ++x)
        for (quint32 y = 0; y < 7; ++y)
            for (quint32 z = 0; z < 7; ++z) {
                const int d2 = (int(x) - 3) * (int(x) - 3) + (int(y) - 3) * (int(y) - 3) +
                               (int(z) - 3) * (int(z) - 3);
                const quint32 expected = d2 == 0 ? 1 : (d2 <= 4 ? film : 0);
                QCOMPARE(ids[v->getCellIndex(x, y, z)], expected);
            }
    QVERIFY(arraysAgree(*v));
}

void TestIsotropicFilmDeposition::filmOnAFlatTopFaceIsRoundedAtConvexCorners()
{
    TotalVolume::Ptr v = makeVolume(16, 16, 10, block);
    QVERIFY(IsotropicFilmDeposition(v.get(), film, 2.5f).runDeposition());
    // Away from the edges the film is two cells thick: 1 and 2 are within 2.5, 3 is not.
    QCOMPARE(materialAt(*v, 8, 8, 3), 1u);
    QCOMPARE(materialAt(*v, 8, 8, 4), film);
    QCOMPARE(materialAt(*v, 8, 8, 5), film);
    QCOMPARE(materialAt(*v, 8, 8, 6), 0u);
    QCOMPARE(materialAt(*v, 13, 8, 1), film); // side wall, 2 cells out
    QCOMPARE(materialAt(*v, 14, 8, 1), 0u);
    // At the top edge (11, y, 3): (1, 0, 2) and (2, 0, 1) are within 2.5, (2, 0, 2) is not.
    QCOMPARE(materialAt(*v, 12, 8, 5), film);
    QCOMPARE(materialAt(*v, 13, 8, 4), film);
    QCOMPARE(materialAt(*v, 13, 8, 5), 0u);
    // At the corner (11, 11, 3): (1, 1, 2) is sqrt 6 < 2.5, (2, 2, 1) is 3.
    QCOMPARE(materialAt(*v, 12, 12, 5), film);
    QCOMPARE(materialAt(*v, 13, 13, 4), 0u);
    // Everywhere: film exactly where the Euclidean distance to the block is at most 2.5.
    const std::vector<quint32> ids = materials(*v);
    for (quint32 x = 0; x < 16; ++x)
        for (quint32 y = 0; y < 16; ++y)
            for (quint32 z = 0; z < 10; ++z) {
                const int d2 = squaredDistanceToBlock(int(x), int(y), int(z));
                const quint32 expected = d2 == 0 ? 1 : (d2 <= 6 ? film : 0);
                QCOMPARE(ids[v->getCellIndex(x, y, z)], expected);
            }
    QVERIFY(arraysAgree(*v));
}

void TestIsotropicFilmDeposition::filmFollowsTheCellSize()
{
    // Cells 0.5 high: a film of 1.0 is two cells thick (0.5 and 1.0), the third is 1.5 away.
    TotalVolume::Ptr v = makeVolume(
        6, 6, 8, [](quint32, quint32, quint32 z) { return z < 2 ? 1u : 0u; }, 0.5f);
    IsotropicFilmDeposition worker(v.get(), film, 1.0f);
    QCOMPARE(worker.getPassCount(), quint64(3));
    QVERIFY(worker.runDeposition());
    for (quint32 z = 0; z < 8; ++z)
        QCOMPARE(materialAt(*v, 3, 2, z), z < 2 ? 1u : (z < 4 ? film : 0u));
}

void TestIsotropicFilmDeposition::unusableOrZeroThicknessChangesNothing_data()
{
    QTest::addColumn<float>("thickness");
    QTest::addColumn<float>("cellSize");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("reason");
    QTest::newRow("zero: nothing to do") << 0.0f << 1.0f << false << "";
    QTest::newRow("negative") << -1.0f << 1.0f << true << "thickness";
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 1.0f << true
                                  << "thickness";
    QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << 1.0f << true
                              << "thickness";
    QTest::newRow("zero cell size") << 2.0f << 0.0f << true << "cell sizes";
}

void TestIsotropicFilmDeposition::unusableOrZeroThicknessChangesNothing()
{
    QFETCH(float, thickness);
    QFETCH(float, cellSize);
    QFETCH(bool, refused);
    QFETCH(QString, reason);
    TotalVolume::Ptr v = makeVolume(16, 16, 10, block, cellSize);
    checkUnchanged(*v, refused, reason, [&](QString *error) {
        return IsotropicFilmDeposition(v.get(), film, thickness).runDeposition(error);
    });
}

void TestIsotropicFilmDeposition::outsideOfTheVolumeIsNotASource()
{
    // Nothing filled: the faces of the volume do not grow a film.
    TotalVolume::Ptr v = makeVolume(6, 6, 6, [](quint32, quint32, quint32) { return 0u; });
    QVERIFY(IsotropicFilmDeposition(v.get(), film, 3.0f).runDeposition());
    QCOMPARE(countMaterial(materials(*v), 0), 216);
}

void TestIsotropicFilmDeposition::hugeThicknessFillsAllSpaceAndEnds()
{
    // The dialog allows 1e9: the run must end once the fronts die out, with all space filled.
    TotalVolume::Ptr v = makeVolume(16, 16, 10, block);
    IsotropicFilmDeposition worker(v.get(), film, 1.0e9f);
    QVERIFY(worker.runDeposition());
    QVERIFY(worker.getPassesRun() < 100);
    const std::vector<quint32> ids = materials(*v);
    QCOMPARE(countMaterial(ids, 0), 0);
    QCOMPARE(countMaterial(ids, 1), 8 * 8 * 4);
}

void TestIsotropicFilmDeposition::sameCellsWithAnyThreadCount()
{
    for (float thickness : {1.0f, 2.5f, 4.0f})
        checkThreadAgreement(
            [=](TotalVolume *v) { return IsotropicFilmDeposition(v, 3, thickness); },
            [](IsotropicFilmDeposition &w, QString *e) { return w.runDeposition(e); });
}

CELVANE_TEST_MAIN(TestIsotropicFilmDeposition)
#include "tst_isotropicfilmdeposition.moc"
