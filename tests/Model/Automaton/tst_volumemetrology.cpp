#include "Model/Automaton/volumemetrology.h"
#include "testmain.h"

#include <vector>

using Model::Automaton::TotalVolume;
using Model::Automaton::VolumeMetrology;

namespace {

const quint32 silicon = 1;
const quint32 oxide = 3;
const quint32 resist = 11;

/// 10 x 4 x 8 cells of 0.5 x 2 x 1.5 (one cell holds 1.5): silicon below z = 3, oxide at
/// z = 3 and 4, resist at z = 5. A trench through oxide and resist at x = 3..5 along the whole
/// of y, a 2 x 2 hole in the resist at x = 7..8, y = 1..2, and one silicon cell at (0, 0, 7).
TotalVolume::Ptr trenchedStack()
{
    const quint32 cx = 10, cy = 4, cz = 8;
    std::vector<quint32> ids;
    for (quint32 x = 0; x < cx; ++x)
        for (quint32 y = 0; y < cy; ++y)
            for (quint32 z = 0; z < cz; ++z) {
                const bool trench = x >= 3 && x <= 5;
                const bool hole = x >= 7 && x <= 8 && y >= 1 && y <= 2;
                quint32 id = 0;
                if (z < 3)
                    id = silicon;
                else if (z < 5 && !trench)
                    id = oxide;
                else if (z == 5 && !trench && !hole)
                    id = resist;
                else if (x == 0 && y == 0 && z == 7)
                    id = silicon;
                ids.push_back(id);
            }
    return TotalVolume::create(cx, cy, cz, 0.5f, 2.0f, 1.5f, Util::Vector3D(), ids);
}

} // namespace

/// Every figure of a hand-built stack against the hand calculation.
class TestVolumeMetrology : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void amountsPerMaterial();
    void filmsAlongAColumn();
    void topSurfaceHeights();
    void topMaterialOfMostColumns();
    void openingWidths();
};

void TestVolumeMetrology::amountsPerMaterial()
{
    TotalVolume::Ptr v = trenchedStack();
    const QList<VolumeMetrology::MaterialAmount> a = VolumeMetrology(*v).materialAmounts();
    QCOMPARE(a.size(), 4);
    // Silicon 10 x 4 x 3 + 1; oxide 2 layers of 7 x 4; resist 7 x 4 less the hole; 320 cells.
    const quint32 ids[] = {0, silicon, oxide, resist};
    const quint64 cells[] = {320 - 121 - 56 - 24, 121, 56, 24};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(a.at(i).material, ids[i]);
        QCOMPARE(a.at(i).cells, cells[i]);
        QCOMPARE(a.at(i).volume, 1.5 * double(cells[i]));
    }
}

void TestVolumeMetrology::filmsAlongAColumn()
{
    TotalVolume::Ptr v = trenchedStack();
    VolumeMetrology m(*v);
    const QList<VolumeMetrology::Range> corner = m.column(0, 0);
    QCOMPARE(corner.size(), 4);
    const quint32 ids[] = {silicon, oxide, resist, silicon};
    const double bottoms[] = {0.0, 4.5, 7.5, 10.5};
    const double tops[] = {4.5, 7.5, 9.0, 12.0};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(corner.at(i).material, ids[i]);
        QCOMPARE(corner.at(i).bottom, bottoms[i]);
        QCOMPARE(corner.at(i).top, tops[i]);
    }
    QCOMPARE(corner.at(1).firstCell, 3u);
    QCOMPARE(corner.at(1).endCell, 5u);

    const QList<VolumeMetrology::Range> trench = m.column(4, 2);
    QCOMPARE(trench.size(), 1);
    QCOMPARE(trench.first().top, 4.5);
    QVERIFY(m.column(10, 0).isEmpty());
}

void TestVolumeMetrology::topSurfaceHeights()
{
    TotalVolume::Ptr v = trenchedStack();
    const VolumeMetrology::SurfaceStatistics s = VolumeMetrology(*v).topSurface();
    // 12 trench columns at 4.5, 4 hole columns at 7.5, the corner at 12, 23 columns at 9.
    QCOMPARE(s.minimum, 4.5);
    QCOMPARE(s.maximum, 12.0);
    QCOMPARE(s.mean, (12 * 4.5 + 4 * 7.5 + 12.0 + 23 * 9.0) / 40.0);
}

void TestVolumeMetrology::topMaterialOfMostColumns()
{
    // Resist tops 23 columns, silicon the 12 trench columns and the corner, oxide the 4 holes.
    QCOMPARE(VolumeMetrology(*trenchedStack()).topMaterial(), resist);
    QCOMPARE(VolumeMetrology(*TotalVolume::createFilled(3, 3, 3, 1, 1, 1, Util::Vector3D(), 0))
                 .topMaterial(),
             0u);
}

void TestVolumeMetrology::openingWidths()
{
    TotalVolume::Ptr v = trenchedStack();
    VolumeMetrology m(*v);
    // Oxide: the trench, 3 cells of 0.5, once per line of y; along y it reaches both sides.
    VolumeMetrology::Openings o = m.openingsAlongX(oxide, 3);
    QCOMPARE(o.count, quint64(4));
    QCOMPARE(o.minimum, 1.5);
    QCOMPARE(o.maximum, 1.5);
    QCOMPARE(o.mean, 1.5);
    QCOMPARE(m.openingsAlongY(oxide, 3).count, quint64(0));

    // Resist: the trench on every line of y, the hole (2 cells of 0.5) on two of them.
    o = m.openingsAlongX(resist, 5);
    QCOMPARE(o.count, quint64(6));
    QCOMPARE(o.minimumCells, 2u);
    QCOMPARE(o.maximumCells, 3u);
    QCOMPARE(o.minimum, 1.0);
    QCOMPARE(o.maximum, 1.5);
    QCOMPARE(o.mean, (4 * 1.5 + 2 * 1.0) / 6.0);
    // Along y only the hole is closed on both ends: 2 cells of 2.
    o = m.openingsAlongY(resist, 5);
    QCOMPARE(o.count, quint64(2));
    QCOMPARE(o.minimum, 4.0);
    QCOMPARE(o.mean, 4.0);

    // A lone cell has no opening; a layer above the volume has none.
    QCOMPARE(m.openingsAlongX(silicon, 7).count, quint64(0));
    QCOMPARE(m.openingsAlongX(oxide, 8).count, quint64(0));
}

CELVANE_TEST_MAIN(TestVolumeMetrology)
#include "tst_volumemetrology.moc"
