#include "Core/Operations/MooreNeighborhood/mooreneighborhooddeposition.h"
#include "testmain.h"
#include "workertestutil.h"

#include <algorithm>
#include <cstdlib>

using Core::Operations::MooreNeighborhoodDeposition;
using namespace WorkerTest;

namespace {

const quint32 film = 2;

// A 8 x 8 x 4 silicon block standing on the bottom of a 16 x 16 x 10 volume.
quint32 block(quint32 x, quint32 y, quint32 z)
{
    return x >= 4 && x < 12 && y >= 4 && y < 12 && z < 4 ? 1 : 0;
}

/// Chessboard distance, in cells, from (x, y, z) to the nearest cell of the block.
int chessboardDistanceToBlock(int x, int y, int z)
{
    const int dx = x < 4 ? 4 - x : (x > 11 ? x - 11 : 0);
    const int dy = y < 4 ? 4 - y : (y > 11 ? y - 11 : 0);
    const int dz = z > 3 ? z - 3 : 0;
    return std::max(dx, std::max(dy, dz));
}

} // namespace

class TestMooreNeighborhoodDeposition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filmHasSquareEdgesAndCorners_data();
    void filmHasSquareEdgesAndCorners();
    void oneStepOnAFlatTopAddsOneLayer();
    void stepsOutOfUseChangeNothing_data();
    void stepsOutOfUseChangeNothing();
    void manyStepsFillAllConnectedSpaceAndEnd();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows(); }
    void sameCellsWithAnyThreadCount();
    void logsItsSettings();
};

void TestMooreNeighborhoodDeposition::filmHasSquareEdgesAndCorners_data()
{
    QTest::addColumn<int>("steps");
    QTest::newRow("1 step") << 1;
    QTest::newRow("2 steps") << 2;
    QTest::newRow("3 steps") << 3;
}

void TestMooreNeighborhoodDeposition::filmHasSquareEdgesAndCorners()
{
    QFETCH(int, steps);
    TotalVolume::Ptr v = makeVolume(16, 16, 10, block);
    MooreNeighborhoodDeposition worker(v.get(), film, steps);
    QVERIFY(worker.runDeposition());
    const std::vector<quint32> ids = materials(*v);
    for (quint32 x = 0; x < 16; ++x)
        for (quint32 y = 0; y < 16; ++y)
            for (quint32 z = 0; z < 10; ++z) {
                const int d = chessboardDistanceToBlock(int(x), int(y), int(z));
                const quint32 expected = d == 0 ? 1 : (d <= steps ? film : 0);
                QCOMPARE(ids[v->getCellIndex(x, y, z)], expected);
            }
    // The corner cap is a cube: the cell diagonal from the corner (11, 11, 3) is filled, unlike
    // the rounded corner of an isotropic film.
    QCOMPARE(ids[v->getCellIndex(11 + steps, 11 + steps, 3 + steps)], film);
    QVERIFY(arraysAgree(*v));
}

void TestMooreNeighborhoodDeposition::oneStepOnAFlatTopAddsOneLayer()
{
    TotalVolume::Ptr v =
        makeVolume(10, 10, 8, [](quint32, quint32, quint32 z) { return z < 3 ? 1u : 0u; });
    QVERIFY(MooreNeighborhoodDeposition(v.get(), film, 1).runDeposition());
    const std::vector<quint32> ids = materials(*v);
    QCOMPARE(countMaterial(ids, film), 100);
    for (quint32 x = 0; x < 10; ++x)
        for (quint32 y = 0; y < 10; ++y)
            QCOMPARE(ids[v->getCellIndex(x, y, 3)], film);
}

void TestMooreNeighborhoodDeposition::stepsOutOfUseChangeNothing_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("refused");
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("negative") << -1 << true;
}

void TestMooreNeighborhoodDeposition::stepsOutOfUseChangeNothing()
{
    QFETCH(int, steps);
    QFETCH(bool, refused);
    TotalVolume::Ptr v = makeVolume(16, 16, 10, block);
    checkUnchanged(*v, refused, QString(), [&](QString *e) {
        return MooreNeighborhoodDeposition(v.get(), film, steps).runDeposition(e);
    });
}

void TestMooreNeighborhoodDeposition::manyStepsFillAllConnectedSpaceAndEnd()
{
    // The dialog allows 999999999 steps: the run ends once the fronts die out.
    TotalVolume::Ptr v = makeVolume(16, 16, 10, block);
    MooreNeighborhoodDeposition worker(v.get(), film, 999999999);
    QVERIFY(worker.runDeposition());
    QVERIFY(worker.getStepsRun() < 20);
    QCOMPARE(countMaterial(materials(*v), 0), 0);

    // Without any filled cell there is no surface to grow on.
    TotalVolume::Ptr empty = makeVolume(6, 6, 6, [](quint32, quint32, quint32) { return 0u; });
    QVERIFY(MooreNeighborhoodDeposition(empty.get(), film, 999999999).runDeposition());
    QCOMPARE(countMaterial(materials(*empty), 0), 216);
}

void TestMooreNeighborhoodDeposition::sameCellsWithAnyThreadCount()
{
    for (int steps : {1, 2, 4})
        checkThreadAgreement(
            [=](TotalVolume *v) { return MooreNeighborhoodDeposition(v, 3, steps); },
            [](MooreNeighborhoodDeposition &w, QString *e) { return w.runDeposition(e); });
}

void TestMooreNeighborhoodDeposition::logsItsSettings()
{
    ThreadCount pool(4);
    TotalVolume::Ptr v = makeVolume(16, 16, 10, block);
    DebugCapture capture;
    QVERIFY(MooreNeighborhoodDeposition(v.get(), film, 3).runDeposition());
    const QStringList expected = {QStringLiteral("Steps to run 3"), QStringLiteral("Threads 4"),
                                  QStringLiteral("Strips per thread 4"),
                                  QStringLiteral("Deposited material id 2")};
    QStringList texts;
    for (const DebugCapture::Message &m : capture.messages()) {
        texts << m.text;
        QCOMPARE(m.file, QStringLiteral(
                             "Core/Operations/MooreNeighborhood/mooreneighborhooddeposition.cpp"));
        QVERIFY2(m.function.contains(QLatin1String("runDeposition")), qPrintable(m.function));
    }
    QCOMPARE(texts, expected);
}

CELVANE_TEST_MAIN(TestMooreNeighborhoodDeposition)
#include "tst_mooreneighborhooddeposition.moc"
