#include "Core/Operations/Anisotropic/anisotropicfilmdeposition.h"
#include "testmain.h"
#include "workertestutil.h"

#include <limits>

using Core::Operations::AnisotropicFilmDeposition;
using namespace WorkerTest;

namespace {

const quint32 film = 4;
const quint32 top = AnisotropicFilmDeposition::OnTop;
const quint32 bottom = AnisotropicFilmDeposition::OnBottom;
const quint32 both = AnisotropicFilmDeposition::OnTopAndBottom;

/// A step: silicon below z = 2 everywhere, and up to z = 10 for x < 10, in 20 x 6 x 16.
quint32 step(quint32 x, quint32, quint32 z)
{
    return z < 2 || (x < 10 && z < 10) ? 1 : 0;
}

/// A free-standing bridge z = 8, 9 over x in [6, 14), above a substrate below z = 2, in
/// 20 x 6 x 16.
quint32 bridge(quint32 x, quint32, quint32 z)
{
    return z < 2 || (x >= 6 && x < 14 && z >= 8 && z < 10) ? 1 : 0;
}

/// The film cells of column (x, y = 3), lowest first.
QList<quint32> filmIn(TotalVolume &v, quint32 x)
{
    QList<quint32> zs;
    for (quint32 z = 0; z < v.getCellsZ(); ++z)
        if (materialAt(v, x, 3, z) == film)
            zs.append(z);
    return zs;
}

} // namespace

class TestAnisotropicFilmDeposition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scaledStepVectors();
    void flatFilmIsTheSameForAnyRatio();
    void stepEdgeGrowsSidewaysByTheRatio();
    void sidesChooseTheSources_data();
    void sidesChooseTheSources();
    void topLayerIsNoTopSource();
    void depositOnNames();
    void unusableParametersAreRefused_data();
    void unusableParametersAreRefused();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows(); }
    void sameCellsWithAnyThreadCount();
};

void TestAnisotropicFilmDeposition::scaledStepVectors()
{
    TotalVolume::Ptr v = TotalVolume::create(4, 4, 4, 1.0f, 2.0f, 0.5f, Util::Vector3D(),
                                             std::vector<quint32>(64, 0));
    AnisotropicFilmDeposition worker(v.get(), film, 2.0f, 0.5f, top);
    QCOMPARE(worker.getStepX(), 2.0f);
    QCOMPARE(worker.getStepY(), 4.0f);
    QCOMPARE(worker.getStepZ(), 0.5f);
    // The smallest scaled step is 0.5: trunc(ceil(2 / 0.5) * 1.7071) = 6.
    QCOMPARE(worker.getPassCount(), quint64(6));
    // A ratio above 1 makes the horizontal steps the smallest.
    QCOMPARE(AnisotropicFilmDeposition(v.get(), film, 2.0f, 4.0f, top).getPassCount(),
             quint64(13)); // ceil(2 / 0.25) = 8 layers
}

void TestAnisotropicFilmDeposition::flatFilmIsTheSameForAnyRatio()
{
    for (float ratio : {1.0f, 0.5f, 0.1f}) {
        TotalVolume::Ptr v =
            makeVolume(10, 8, 12, [](quint32, quint32, quint32 z) { return z < 4 ? 1u : 0u; });
        QVERIFY(AnisotropicFilmDeposition(v.get(), film, 3.0f, ratio, top).runDeposition());
        QCOMPARE(countMaterial(materials(*v), film), 10 * 8 * 3);
        QCOMPARE(filmIn(*v, 5), (QList<quint32>{4, 5, 6}));
        QVERIFY(arraysAgree(*v));
    }
}

void TestAnisotropicFilmDeposition::stepEdgeGrowsSidewaysByTheRatio()
{
    // Thickness 3 on top. Ratio 1: beside the upper edge (9, 9) the film reaches 3 cells out at
    // the edge's height; ratio 0.5 stretches horizontal steps to 2, so only the first cell
    // (distance 2) is within 3, the second (4) is not.
    TotalVolume::Ptr one = makeVolume(20, 6, 16, step);
    TotalVolume::Ptr half = makeVolume(20, 6, 16, step);
    QVERIFY(AnisotropicFilmDeposition(one.get(), film, 3.0f, 1.0f, top).runDeposition());
    QVERIFY(AnisotropicFilmDeposition(half.get(), film, 3.0f, 0.5f, top).runDeposition());
    for (quint32 x = 10; x < 16; ++x) {
        QCOMPARE(materialAt(*one, x, 3, 9), x < 13 ? film : 0u);
        QCOMPARE(materialAt(*half, x, 3, 9), x < 11 ? film : 0u);
    }
    // Column x = 10 beside the edge cell (9, 9), offsets (1, dz): down the wall (10, 8) and
    // (10, 7) at dz = -1, -2 fit (sqrt 2, sqrt 5), (10, 6) at sqrt 10 does not; above the edge
    // (10, 10) and (10, 11) fit, (10, 12) does not. The lower film is z = 2, 3, 4.
    QCOMPARE(filmIn(*one, 10), (QList<quint32>{2, 3, 4, 7, 8, 9, 10, 11}));
    // With ratio 0.5 the horizontal offset counts twice: (2, 1) = sqrt 5 and (2, 2) = sqrt 8
    // still fit, so column 10 is the same; column 11 keeps only the lower film.
    QCOMPARE(filmIn(*half, 10), (QList<quint32>{2, 3, 4, 7, 8, 9, 10, 11}));
    QCOMPARE(filmIn(*half, 11), (QList<quint32>{2, 3, 4}));
    // Away from the edge both films are alike.
    for (quint32 x : {4u, 17u})
        QCOMPARE(filmIn(*half, x), filmIn(*one, x));
    QCOMPARE(filmIn(*one, 4), (QList<quint32>{10, 11, 12}));
    QCOMPARE(filmIn(*one, 17), (QList<quint32>{2, 3, 4}));
}

void TestAnisotropicFilmDeposition::sidesChooseTheSources_data()
{
    QTest::addColumn<quint32>("side");
    QTest::addColumn<QList<quint32>>("underBridge"); // column x = 10
    QTest::addColumn<QList<quint32>>("open");        // column x = 18, no bridge above
    // Under the bridge: the substrate's top faces up (film 2, 3), the bridge's bottom faces down
    // (film 6, 7); its top faces up (film 10, 11). The substrate's bottom is the volume's face.
    QTest::newRow("top") << top << QList<quint32>{2, 3, 10, 11} << QList<quint32>{2, 3};
    QTest::newRow("bottom") << bottom << QList<quint32>{6, 7} << QList<quint32>{};
    QTest::newRow("both") << both << QList<quint32>{2, 3, 6, 7, 10, 11} << QList<quint32>{2, 3};
}

void TestAnisotropicFilmDeposition::sidesChooseTheSources()
{
    QFETCH(quint32, side);
    QFETCH(QList<quint32>, underBridge);
    QFETCH(QList<quint32>, open);
    TotalVolume::Ptr v = makeVolume(20, 6, 16, bridge);
    QVERIFY(AnisotropicFilmDeposition(v.get(), film, 2.0f, 1.0f, side).runDeposition());
    QCOMPARE(filmIn(*v, 10), underBridge);
    QCOMPARE(filmIn(*v, 18), open);
    QVERIFY(arraysAgree(*v));
}

void TestAnisotropicFilmDeposition::topLayerIsNoTopSource()
{
    // Silicon fills x < 6 up to the volume's top layer, the rest up to z = 4. The top-layer
    // cells have no cell above them, so they grow no film beside them; one more empty layer
    // above makes them sources.
    auto shape = [](quint32 x, quint32, quint32 z) { return x < 6 || z < 4 ? 1u : 0u; };
    TotalVolume::Ptr full = makeVolume(12, 4, 10, shape);
    QVERIFY(AnisotropicFilmDeposition(full.get(), film, 2.0f, 1.0f, top).runDeposition());
    for (quint32 x = 6; x < 12; ++x)
        QCOMPARE(filmIn(*full, x), (QList<quint32>{4, 5}));

    TotalVolume::Ptr roomAbove = makeVolume(12, 4, 11, [shape](quint32 x, quint32 y, quint32 z) {
        return z == 10 ? 0u : shape(x, y, z);
    });
    QVERIFY(AnisotropicFilmDeposition(roomAbove.get(), film, 2.0f, 1.0f, top).runDeposition());
    QCOMPARE(materialAt(*roomAbove, 6, 3, 9), film);
    QCOMPARE(materialAt(*roomAbove, 3, 3, 10), film);
}

void TestAnisotropicFilmDeposition::depositOnNames()
{
    QCOMPARE(AnisotropicFilmDeposition::depositOnName(1), QStringLiteral("On Top"));
    QCOMPARE(AnisotropicFilmDeposition::depositOnName(2), QStringLiteral("On Bottom"));
    QCOMPARE(AnisotropicFilmDeposition::depositOnName(3), QStringLiteral("On Top and Bottom"));
    QVERIFY(AnisotropicFilmDeposition::depositOnName(0).isEmpty());
}

void TestAnisotropicFilmDeposition::unusableParametersAreRefused_data()
{
    QTest::addColumn<float>("thickness");
    QTest::addColumn<float>("ratio");
    QTest::addColumn<quint32>("side");
    QTest::addColumn<QString>("reason");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("negative thickness") << -1.0f << 1.0f << top << "thickness";
    QTest::newRow("thickness not a number") << nan << 1.0f << top << "thickness";
    QTest::newRow("ratio 0") << 2.0f << 0.0f << top << "ratio";
    QTest::newRow("negative ratio") << 2.0f << -0.5f << top << "ratio";
    QTest::newRow("ratio not a number") << 2.0f << nan << top << "ratio";
    QTest::newRow("ratio too small for the cells") << 2.0f << 1e-40f << top << "ratio";
    QTest::newRow("side 0") << 2.0f << 1.0f << 0u << "side";
    QTest::newRow("side 4") << 2.0f << 1.0f << 4u << "side";
}

void TestAnisotropicFilmDeposition::unusableParametersAreRefused()
{
    QFETCH(float, thickness);
    QFETCH(float, ratio);
    QFETCH(quint32, side);
    QFETCH(QString, reason);
    TotalVolume::Ptr v = makeVolume(20, 6, 16, step);
    checkUnchanged(*v, true, reason, [&](QString *error) {
        return AnisotropicFilmDeposition(v.get(), film, thickness, ratio, side)
            .runDeposition(error);
    });
}

void TestAnisotropicFilmDeposition::sameCellsWithAnyThreadCount()
{
    // The changes of a pass wait until every strip has finished it: a strip that saw its
    // neighbour's changes early would grow a different film than one thread does.
    for (quint32 side : {top, bottom, both})
        for (float ratio : {0.5f, 1.0f, 2.0f})
            checkThreadAgreement(
                [=](TotalVolume *v) {
                    return AnisotropicFilmDeposition(v, film, 3.0f, ratio, side);
                },
                [](AnisotropicFilmDeposition &w, QString *e) { return w.runDeposition(e); });
}

CELVANE_TEST_MAIN(TestAnisotropicFilmDeposition)
#include "tst_anisotropicfilmdeposition.moc"
