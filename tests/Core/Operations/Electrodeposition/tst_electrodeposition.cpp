#include "Core/Operations/Electrodeposition/electrodeposition.h"
#include "testmain.h"
#include "workertestutil.h"

#include <limits>

using Core::Operations::Electrodeposition;
using namespace WorkerTest;

namespace {

const quint32 gold = 9;
const quint32 copper = 5; // the conductor
const quint32 oxide = 3;

/// A copper pad x, y in [6, 10), z = 4, on silicon below z = 4, in 16 x 16 x 10.
quint32 pad(quint32 x, quint32 y, quint32 z)
{
    if (z < 4)
        return 1;
    return z == 4 && x >= 6 && x < 10 && y >= 6 && y < 10 ? copper : 0;
}

/// Squared distance in cells from (x, y, z) to the nearest cell of the pad.
int squaredDistanceToPad(int x, int y, int z)
{
    const int dx = x < 6 ? 6 - x : (x > 9 ? x - 9 : 0);
    const int dy = y < 6 ? 6 - y : (y > 9 ? y - 9 : 0);
    const int dz = z - 4;
    return dx * dx + dy * dy + dz * dz;
}

} // namespace

class TestElectrodeposition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void growsOnlyFromTheConductor();
    void nonConductingFilmBlocks();
    void cavityInTheConductorIsPlated();
    void unusableThicknessOrAbsentConductorChangesNothing();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows(); }
    void sameCellsWithAnyThreadCount();
};

void TestElectrodeposition::growsOnlyFromTheConductor()
{
    // Gold within 2 of the pad, through empty cells; the silicon around it grows nothing.
    TotalVolume::Ptr v = makeVolume(16, 16, 10, pad);
    Electrodeposition worker(v.get(), gold, copper, 2.0f);
    QCOMPARE(worker.getPassCount(), quint64(3));
    QVERIFY(worker.runDeposition());
    const std::vector<quint32> ids = materials(*v);
    for (quint32 x = 0; x < 16; ++x)
        for (quint32 y = 0; y < 16; ++y)
            for (quint32 z = 0; z < 10; ++z) {
                const quint32 was = pad(x, y, z);
                const bool plated = was == 0 && squaredDistanceToPad(int(x), int(y), int(z)) <= 4;
                QCOMPARE(ids[v->getCellIndex(x, y, z)], plated ? gold : was);
            }
    QCOMPARE(materialAt(*v, 1, 1, 4), 0u); // bare silicon far from the pad
    QVERIFY(arraysAgree(*v));
}

void TestElectrodeposition::nonConductingFilmBlocks()
{
    // The pad wrapped in oxide on top and on its four sides: no plating at all, even though
    // the oxide lies next to the conductor.
    auto wrapped = [](quint32 x, quint32 y, quint32 z) -> quint32 {
        const quint32 inner = pad(x, y, z);
        if (inner != 0)
            return inner;
        const bool aroundPad = x >= 5 && x < 11 && y >= 5 && y < 11 && z >= 4 && z < 6;
        return aroundPad ? oxide : 0;
    };
    TotalVolume::Ptr v = makeVolume(16, 16, 10, wrapped);
    const std::vector<quint32> before = materials(*v);
    QVERIFY(Electrodeposition(v.get(), gold, copper, 3.0f).runDeposition());
    QCOMPARE(materials(*v), before);

    // Oxide on top only: the pad's sides still plate, the oxide's top does not.
    TotalVolume::Ptr capped = makeVolume(16, 16, 10, [](quint32 x, quint32 y, quint32 z) {
        return z == 5 && x >= 6 && x < 10 && y >= 6 && y < 10 ? oxide : pad(x, y, z);
    });
    QVERIFY(Electrodeposition(capped.get(), gold, copper, 1.0f).runDeposition());
    QCOMPARE(materialAt(*capped, 10, 7, 4), gold);
    QCOMPARE(materialAt(*capped, 5, 8, 4), gold);
    QCOMPARE(materialAt(*capped, 7, 7, 6), 0u);
}

void TestElectrodeposition::cavityInTheConductorIsPlated()
{
    // One empty cell enclosed by copper on all sides: it is within the thickness of the
    // conductor and is plated, although none of its neighbours is anything but conductor.
    TotalVolume::Ptr v = makeVolume(5, 5, 5, [](quint32 x, quint32 y, quint32 z) {
        return x == 2 && y == 2 && z == 2 ? 0u : copper;
    });
    QVERIFY(Electrodeposition(v.get(), gold, copper, 1.0f).runDeposition());
    QCOMPARE(materialAt(*v, 2, 2, 2), gold);
    QCOMPARE(countMaterial(materials(*v), copper), 124);
}

void TestElectrodeposition::unusableThicknessOrAbsentConductorChangesNothing()
{
    TotalVolume::Ptr v = makeVolume(16, 16, 10, pad);
    for (float t : {-1.0f, std::numeric_limits<float>::quiet_NaN()})
        checkUnchanged(*v, true, QStringLiteral("thickness"), [&](QString *error) {
            return Electrodeposition(v.get(), gold, copper, t).runDeposition(error);
        });
    // Material 7 is nowhere: nothing conducts.
    checkUnchanged(*v, false, QString(), [&](QString *error) {
        return Electrodeposition(v.get(), gold, 7, 3.0f).runDeposition(error);
    });
}

void TestElectrodeposition::sameCellsWithAnyThreadCount()
{
    // The mixed structure's material 2 is the conductor; silicon blocks.
    for (float thickness : {1.0f, 2.5f, 4.0f})
        checkThreadAgreement(
            [=](TotalVolume *v) { return Electrodeposition(v, gold, 2, thickness); },
            [](Electrodeposition &w, QString *e) { return w.runDeposition(e); });
}

CELVANE_TEST_MAIN(TestElectrodeposition)
#include "tst_electrodeposition.moc"
