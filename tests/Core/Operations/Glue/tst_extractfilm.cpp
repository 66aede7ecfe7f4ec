#include "Core/Operations/Glue/extractfilm.h"
#include "Core/Operations/Glue/filmextraction.h"
#include "Model/Materials/materialfactory.h"
#include "Util/systemmemory.h"
#include "testmain.h"
#include "workspacetestutil.h"

using Core::Operations::ExtractFilm;
using Core::Operations::FilmExtraction;
using Model::Automaton::TotalVolume;

namespace {

/// 6 x 5 x 8 cells of 1 x 2 x 0.5 at (1, 2, 3): material 1 below z = 3 and two islands of
/// material 3. The first in index order (x = 1) is an L-shaped film at z = 5 with one cell on
/// top at (2, 2, 6); the second stands at (4, 3, 6..7).
TotalVolume::Ptr islands()
{
    TotalVolume::Ptr v =
        TotalVolume::createFilled(6, 5, 8, 1.0f, 2.0f, 0.5f, Util::Vector3D(1, 2, 3), 0, nullptr);
    for (quint32 x = 0; x < 6; ++x)
        for (quint32 y = 0; y < 5; ++y)
            for (quint32 z = 0; z < 3; ++z)
                setCell(v, x, y, z, 1);
    for (auto c :
         {std::array<quint32, 3>{1, 1, 5}, {1, 2, 5}, {2, 2, 5}, {2, 2, 6}, {4, 3, 6}, {4, 3, 7}})
        setCell(v, c[0], c[1], c[2], 3);
    return v;
}

} // namespace

/// Lifting one film out of a volume: which cells go, where they land, and the operation with
/// its history.
class TestExtractFilm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstIslandOnly_data();
    void firstIslandOnly();
    void selectExtractUndoRedo();
    void tooLargeChangesNothing();
    void refusedFilmAddsNothing_data();
    void refusedFilmAddsNothing();
};

void TestExtractFilm::firstIslandOnly_data()
{
    QTest::addColumn<bool>("invert");
    QTest::addColumn<quint32>("material");
    QTest::addColumn<QList<QList<quint32>>>("cells");
    // Moved down by 5 so the film rests on z = 0.
    QTest::newRow("upright") << false << 3u
                             << QList<QList<quint32>>{{1, 1, 0}, {1, 2, 0}, {2, 2, 0}, {2, 2, 1}};
    // (x, 4 - y, 7 - z), then moved down by 1: the cell that was on top lies at the bottom.
    QTest::newRow("inverted") << true << 3u
                              << QList<QList<quint32>>{{1, 3, 1}, {1, 2, 1}, {2, 2, 1}, {2, 2, 0}};
    // The substrate is one film that already rests on the bottom.
    QTest::newRow("substrate") << false << 1u << QList<QList<quint32>>{};
    QTest::newRow("absent material") << true << 7u << QList<QList<quint32>>{};
}

void TestExtractFilm::firstIslandOnly()
{
    QFETCH(bool, invert);
    QFETCH(quint32, material);
    QFETCH(QList<QList<quint32>>, cells);
    const TotalVolume::Ptr source = islands();
    const std::vector<quint32> before = cellsOf(source);
    QString error;
    const TotalVolume::Ptr film = FilmExtraction(source.get(), material, invert).run(&error);
    QVERIFY2(film, qPrintable(error));
    QCOMPARE(film->getCellsX(), 6u);
    QCOMPARE(film->getCellsY(), 5u);
    QCOMPARE(film->getCellsZ(), 8u);
    QCOMPARE(film->getCellSizeY(), 2.0f);
    QCOMPARE(film->getPosition(), Util::Vector3D(1, 2, 3));
    std::vector<quint32> expected(6 * 5 * 8, 0);
    if (material == 1) {
        for (quint64 i = 0; i < expected.size(); ++i)
            expected[i] = i % 8 < 3 ? 1 : 0;
    }
    for (const QList<quint32> &c : cells)
        expected[(c[0] * 5 + c[1]) * 8 + c[2]] = material;
    QCOMPARE(cellsOf(film), expected);
    QCOMPARE(cellsOf(source), before);
}

void TestExtractFilm::selectExtractUndoRedo()
{
    WorkspaceFixture f;
    const TotalVolume::Ptr source = islands();
    f.workspace.getDocument().addObject(source);
    offer<ExtractFilm>(f, 8, [](ExtractFilm *op) {
        op->setOptions(3, false);
        op->end();
    });
    f.workspace.startOperation(8);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Extract Film: select a cell volume and press Enter/Return."));
    f.pick(source);
    f.type("");
    QCOMPARE(f.recorder->messages.mid(f.recorder->messages.size() - 2),
             QStringList({QStringLiteral("Extract Film: cell volume selected."),
                          QStringLiteral("Extract Film: film extracted.")}));
    Core::Operations::Document &document = f.workspace.getDocument();
    QCOMPARE(document.getObjects().size(), 2);
    const TotalVolume::Ptr film =
        boost::dynamic_pointer_cast<TotalVolume>(document.getObjects()[1]);
    QVERIFY(film);
    // (6 + 10) cells of the largest size, 2, to the right.
    QCOMPARE(film->getPosition(), Util::Vector3D(1 + 32, 2, 3));
    QCOMPARE(count(film, 3), 4u);
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);

    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(!document.contains(film) && document.contains(source));
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(document.contains(film) && document.contains(source));
    QCOMPARE(film->getPosition(), Util::Vector3D(33, 2, 3));
}

void TestExtractFilm::tooLargeChangesNothing()
{
    WorkspaceFixture f;
    const TotalVolume::Ptr source = islands();
    f.workspace.getDocument().addObject(source);
    offer<ExtractFilm>(f, 8, [](ExtractFilm *op) {
        op->setOptions(3, false);
        op->end();
    });
    f.pick(source);
    Util::SystemMemory::setAvailableBytesOverride(4096); // less than the new volume needs
    f.workspace.startOperation(8);
    Util::SystemMemory::setAvailableBytesOverride(0);
    QVERIFY2(f.recorder->messages
                     .filter(QLatin1String("Extract Film: Cannot create a cell volume "
                                           "of 6 x 5 x 8 cells"))
                     .size() == 1,
             qPrintable(f.recorder->messages.join('\n')));
    QCOMPARE(f.recorder->last(), QStringLiteral("Extract Film: Operation canceled."));
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 1);
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
    QVERIFY(!f.workspace.getCurrentOperation());
}

void TestExtractFilm::refusedFilmAddsNothing_data()
{
    QTest::addColumn<double>("shift");
    QTest::addColumn<quint32>("material");
    QTest::addColumn<QString>("reason");
    // The source ends 15 units short of the limit: the film, 16 cells of 2 units to its right
    // (the 6 cells of the source and 10 more), would stand beyond it.
    QTest::newRow("beyond the coordinate limit") << 1e7 - 22 << 3u << "beyond 10000000 units";
    // Material 4 is Al (bulk) in the built-in catalogue; the volume holds none.
    QTest::newRow("material the volume lacks")
        << 0.0 << 4u << "The cell volume holds no Al (bulk): there is no film to extract.";
}

void TestExtractFilm::refusedFilmAddsNothing()
{
    QFETCH(double, shift);
    QFETCH(quint32, material);
    QFETCH(QString, reason);
    Model::Materials::MaterialFactory::instance()->loadDefaultMaterials();
    WorkspaceFixture f;
    const TotalVolume::Ptr source = islands();
    source->translate(Util::Vector4D(shift, 0, 0, 0));
    f.workspace.getDocument().addObject(source);
    offer<ExtractFilm>(f, 8, [material](ExtractFilm *op) {
        op->setOptions(material, false);
        op->end();
    });
    f.pick(source);
    f.workspace.startOperation(8);
    QVERIFY2(f.recorder->messages.filter(reason).size() == 1,
             qPrintable(f.recorder->messages.join('\n')));
    QCOMPARE(f.recorder->last(), QStringLiteral("Extract Film: Operation canceled."));
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 1);
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
    QVERIFY(!f.workspace.getCurrentOperation());
}

CELVANE_TEST_MAIN(TestExtractFilm)
#include "tst_extractfilm.moc"
