#include "Core/Operations/Photolithography/photolithography.h"
#include "testmain.h"
#include "workertestutil.h"
#include "workspacetestutil.h"

#include <QThreadPool>

using Core::Operations::Photolithography;
using Model::Automaton::TotalVolume;

namespace {

const quint32 si = 1, positive = 11, negative = 12, oxide = 3;

/// A cx x cy volume whose columns all hold the materials listed, lowest first.
TotalVolume::Ptr columns(quint32 cx, quint32 cy, const QList<quint32> &column)
{
    return WorkerTest::makeVolume(cx, cy, quint32(column.size()),
                                  [column](quint32, quint32, quint32 z) { return column[int(z)]; });
}

/// A substrate of silicon (z < 2), a resist film (z = 2, 3) and empty space above (z = 4, 5).
TotalVolume::Ptr filmOnSubstrate(quint32 cx, quint32 cy, quint32 film)
{
    return columns(cx, cy, {si, si, film, film, 0, 0});
}

void develop(const TotalVolume::Ptr &v, quint32 film, const std::vector<bool> &top = {},
             quint32 tw = 0, quint32 th = 0, const std::vector<bool> &bottom = {}, quint32 bw = 0,
             quint32 bh = 0)
{
    Photolithography worker(v.get(), film, bottom, bw, bh, top, tw, th);
    QVERIFY(worker.run());
}

} // namespace

class TestPhotolithography : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void positiveWithoutMaskDevelopsEverything();
    void maskSmallerThanVolume_data();
    void maskSmallerThanVolume();
    void unexposedFilmStays_data();
    void unexposedFilmStays();
    void developmentFromBelow();
    void wrongMaskSizeDevelopsEverywhere();
    void threadsAgree_data() { WorkerTest::threadAgreementRows(); }
    void threadsAgree();
};

void TestPhotolithography::positiveWithoutMaskDevelopsEverything()
{
    TotalVolume::Ptr v = filmOnSubstrate(4, 3, positive);
    develop(v, positive);
    for (quint32 x = 0; x < 4; ++x)
        for (quint32 y = 0; y < 3; ++y) {
            QCOMPARE(cellAt(v, x, y, 3), 0u);
            QCOMPARE(cellAt(v, x, y, 2), 0u); // down to the bottom of the film
            QCOMPARE(cellAt(v, x, y, 1), si); // other materials stop it
        }
}

void TestPhotolithography::maskSmallerThanVolume_data()
{
    QTest::addColumn<quint32>("film");
    QTest::newRow("positive") << positive;
    QTest::newRow("negative") << negative;
}

void TestPhotolithography::maskSmallerThanVolume()
{
    QFETCH(quint32, film);
    // A 2 x 2 mask on a 4 x 3 volume: opaque at (0, 0) and (1, 1), clear at (1, 0), (0, 1).
    std::vector<bool> mask(4, false);
    mask[0 * 2 + 0] = true;
    mask[1 * 2 + 1] = true;
    TotalVolume::Ptr v = filmOnSubstrate(4, 3, film);
    develop(v, film, mask, 2, 2);
    const bool neg = film == negative;
    // Inside the mask: positive develops the clear columns, negative the opaque ones.
    QCOMPARE(cellAt(v, 0, 0, 2), neg ? 0u : film);
    QCOMPARE(cellAt(v, 1, 1, 3), neg ? 0u : film);
    QCOMPARE(cellAt(v, 1, 0, 2), neg ? film : 0u);
    QCOMPARE(cellAt(v, 0, 1, 3), neg ? film : 0u);
    // Outside the mask: developed for positive, kept for negative.
    QCOMPARE(cellAt(v, 3, 0, 2), neg ? film : 0u);
    QCOMPARE(cellAt(v, 0, 2, 3), neg ? film : 0u);
}

void TestPhotolithography::unexposedFilmStays_data()
{
    QTest::addColumn<quint32>("cellsX");
    QTest::addColumn<quint32>("cellsY");
    QTest::addColumn<QList<quint32>>("column"); // every column, lowest first
    QTest::addColumn<quint32>("film");
    QTest::newRow("negative without a mask: all exposed, all kept")
        << 4u << 3u << QList<quint32>{si, si, negative, negative, 0, 0} << negative;
    // The outside of the volume is not empty.
    QTest::newRow("film up to the top layer")
        << 3u << 1u << QList<quint32>{positive, positive, positive, positive} << positive;
    QTest::newRow("film between other materials")
        << 1u << 1u << QList<quint32>{si, positive, positive, oxide, 0, 0} << positive;
    QTest::newRow("one layer high") << 5u << 5u << QList<quint32>{positive} << positive;
}

void TestPhotolithography::unexposedFilmStays()
{
    QFETCH(quint32, cellsX);
    QFETCH(quint32, cellsY);
    QFETCH(QList<quint32>, column);
    QFETCH(quint32, film);
    TotalVolume::Ptr v = columns(cellsX, cellsY, column);
    const std::vector<quint32> before = cellsOf(v);
    develop(v, film);
    QCOMPARE(cellsOf(v), before);
}

void TestPhotolithography::developmentFromBelow()
{
    // Empty below the film (a membrane), covered above by oxide: only the bottom mask counts.
    std::vector<quint32> ids{0, 0, positive, positive, positive, oxide,
                             0, 0, positive, positive, positive, oxide};
    TotalVolume::Ptr v = TotalVolume::create(2, 1, 6, 1, 1, 1, Util::Vector3D(), ids);
    std::vector<bool> bottom{true, false}; // column x = 0 shielded from below
    develop(v, positive, {}, 0, 0, bottom, 2, 1);
    QCOMPARE(cellsOf(v), (std::vector<quint32>{0, 0, positive, positive, positive, oxide, 0, 0, 0,
                                               0, 0, oxide}));
}

void TestPhotolithography::wrongMaskSizeDevelopsEverywhere()
{
    TotalVolume::Ptr v = filmOnSubstrate(2, 2, negative);
    develop(v, negative, std::vector<bool>(3, true), 2, 2); // 3 bits for a 2 x 2 mask
    QCOMPARE(cellAt(v, 1, 1, 2), 0u);
}

void TestPhotolithography::threadsAgree()
{
    // Material 2 of the mixed structure (the bridge, part of the base) as the film, developed
    // through a patterned mask from both sides; without a volume the worker refuses.
    WorkerTest::checkThreadAgreement(
        [](TotalVolume *v) {
            const quint32 width = v ? v->getCellsX() : 0;
            std::vector<bool> mask(size_t(width) * 9);
            for (size_t i = 0; i < mask.size(); ++i)
                mask[i] = (i * 13) % 7 < 3;
            return Photolithography(v, 2, mask, width, 9, mask, width, 9);
        },
        [](Photolithography &w, QString *e) { return w.run(e); });
}

CELVANE_TEST_MAIN(TestPhotolithography)
#include "tst_photolithography.moc"
