#include "Core/Operations/Glue/gluesubstrate.h"
#include "Core/Operations/Glue/gluesubstrateoperation.h"
#include "testmain.h"
#include "workertestutil.h"
#include "workspacetestutil.h"

using Core::Operations::GlueSubstrate;
using Core::Operations::GlueSubstrateOperation;
using Model::Automaton::TotalVolume;

namespace {

struct Cell
{
    quint32 x, y, z, material;
};

/// A volume holding the listed cells in empty space.
TotalVolume::Ptr volumeWith(quint32 cx, quint32 cy, quint32 cz, std::initializer_list<Cell> cells,
                            float sizeX = 1.0f, float sizeY = 1.0f, float sizeZ = 1.0f,
                            const Util::Vector3D &position = Util::Vector3D())
{
    TotalVolume::Ptr v =
        TotalVolume::createFilled(cx, cy, cz, sizeX, sizeY, sizeZ, position, 0, nullptr);
    for (const Cell &c : cells)
        setCell(v, c.x, c.y, c.z, c.material);
    return v;
}

/// Base 3 x 2 x 4: a floor of material 1 and two cells of material 2, the higher at z = 2, so
/// the top goes on from z = 3.
TotalVolume::Ptr smallBase()
{
    TotalVolume::Ptr v = volumeWith(3, 2, 4, {{1, 0, 1, 2}, {2, 1, 2, 2}}, 1.0f, 1.0f, 1.0f,
                                    Util::Vector3D(5, 6, 7));
    for (quint32 x = 0; x < 3; ++x)
        for (quint32 y = 0; y < 2; ++y)
            setCell(v, x, y, 0, 1);
    return v;
}

/// Top 2 x 2 x 5: a full layer of material 3 at z = 1 and one cell of 4 at (1, 1, 3); occupied
/// from z = 1 to 3. Its cells are 2 wide and half as deep as the base's.
TotalVolume::Ptr smallTop()
{
    return volumeWith(2, 2, 5,
                      {{0, 0, 1, 3}, {1, 0, 1, 3}, {0, 1, 1, 3}, {1, 1, 1, 3}, {1, 1, 3, 4}}, 2.0f,
                      0.5f, 1.0f);
}

/// A workspace holding the small base and top.
struct GlueFixture : WorkspaceFixture
{
    GlueFixture()
    {
        workspace.getDocument().addObject(base);
        workspace.getDocument().addObject(top);
    }
    const TotalVolume::Ptr base = smallBase();
    const TotalVolume::Ptr top = smallTop();
};

} // namespace

/// Gluing a top volume onto a base: the measured limits, the cells of both copies worked out by
/// hand, the same cells with any thread count, and the operation with its history.
class TestGlueSubstrate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extent();
    void copies_data();
    void copies();
    void refusals();
    void threadsAgree_data() { WorkerTest::threadAgreementRows(); }
    void threadsAgree();
    void selectGlueUndoRedo();
    void tooLargeChangesNothing();
};

void TestGlueSubstrate::extent()
{
    const TotalVolume::Ptr base = smallBase();
    const TotalVolume::Ptr top = smallTop();
    GlueSubstrate::Extent e;
    QVERIFY(GlueSubstrate(base.get(), top.get()).measure(e));
    QCOMPARE(e.baseTop, 3u);
    QCOMPARE(e.topMin, 1u);
    QCOMPARE(e.topMax, 3u);
    QCOMPARE(e.minSizeX, 3u);
    QCOMPARE(e.minSizeY, 2u);
    QCOMPARE(e.minSizeZ, 6u); // 3 base layers and 3 top layers
    QCOMPARE(e.maxDisplacementX, 1u);
    QCOMPARE(e.maxDisplacementY, 0u);

    // Swapped: the larger base decides x, and the top may not move at all.
    QVERIFY(GlueSubstrate(top.get(), base.get()).measure(e));
    QCOMPARE(e.baseTop, 4u);
    QCOMPARE(e.topMin, 0u);
    QCOMPARE(e.topMax, 2u);
    QCOMPARE(e.minSizeZ, 7u);
    QCOMPARE(e.maxDisplacementX, 0u);

    // An empty base keeps one empty layer under the top.
    const TotalVolume::Ptr empty = volumeWith(3, 2, 4, {});
    QVERIFY(GlueSubstrate(empty.get(), top.get()).measure(e));
    QCOMPARE(e.baseTop, 1u);
    QCOMPARE(e.minSizeZ, 4u);
}

void TestGlueSubstrate::copies_data()
{
    QTest::addColumn<bool>("invert");
    QTest::addColumn<QList<QList<quint32>>>("topCells"); // x, y, z, material in the result
    // Without turning: result(1 + x, y, 3 + z - 1) = top(x, y, z).
    QTest::newRow("upright") << false
                             << QList<QList<quint32>>{{1, 0, 3, 3},
                                                      {2, 0, 3, 3},
                                                      {1, 1, 3, 3},
                                                      {2, 1, 3, 3},
                                                      {2, 1, 5, 4}};
    // Turned over about y: result(1 + 1 - x, y, 3 + 3 - z) = top(x, y, z).
    QTest::newRow("inverted") << true
                              << QList<QList<quint32>>{{1, 0, 5, 3},
                                                       {2, 0, 5, 3},
                                                       {1, 1, 5, 3},
                                                       {2, 1, 5, 3},
                                                       {1, 1, 3, 4}};
}

void TestGlueSubstrate::copies()
{
    QFETCH(bool, invert);
    QFETCH(QList<QList<quint32>>, topCells);
    const TotalVolume::Ptr base = smallBase();
    const TotalVolume::Ptr top = smallTop();
    const std::vector<quint32> baseBefore = cellsOf(base);
    const std::vector<quint32> topBefore = cellsOf(top);
    GlueSubstrate glue(base.get(), top.get());
    glue.setSize(3, 2, 7);
    glue.setDisplacement(1, 0);
    glue.setInvertTop(invert);
    QString error;
    const TotalVolume::Ptr result = glue.run(&error);
    QVERIFY2(result, qPrintable(error));
    QCOMPARE(result->getCellsX(), 3u);
    QCOMPARE(result->getCellsY(), 2u);
    QCOMPARE(result->getCellsZ(), 7u);
    QCOMPARE(result->getCellSizeX(), 2.0f);
    QCOMPARE(result->getCellSizeY(), 1.0f);
    QCOMPARE(result->getCellSizeZ(), 1.0f);
    QCOMPARE(result->getPosition(), Util::Vector3D(5, 6, 7));

    std::vector<quint32> expected(3 * 2 * 7, 0);
    auto at = [](quint32 x, quint32 y, quint32 z) { return (x * 2 + y) * 7 + z; };
    for (quint32 x = 0; x < 3; ++x)
        for (quint32 y = 0; y < 2; ++y)
            expected[at(x, y, 0)] = 1;
    expected[at(1, 0, 1)] = 2;
    expected[at(2, 1, 2)] = 2;
    for (const QList<quint32> &c : topCells)
        expected[at(c[0], c[1], c[2])] = c[3];
    QCOMPARE(cellsOf(result), expected); // both arrays agree, or 999 shows
    QCOMPARE(cellsOf(base), baseBefore);
    QCOMPARE(cellsOf(top), topBefore);
}

void TestGlueSubstrate::refusals()
{
    const TotalVolume::Ptr base = smallBase();
    const TotalVolume::Ptr top = smallTop();
    QString error;
    QVERIFY(!GlueSubstrate(base.get(), base.get()).run(&error));
    QVERIFY(error.contains(QLatin1String("itself")));
    QVERIFY(!GlueSubstrate(nullptr, top.get()).run(&error));
    // One layer too few, or a displacement that pushes the top out: nothing is built.
    for (auto sizes : {std::array<quint32, 5>{3, 2, 5, 0, 0}, std::array<quint32, 5>{3, 2, 6, 2, 0},
                       std::array<quint32, 5>{2, 2, 6, 0, 0}}) {
        GlueSubstrate glue(base.get(), top.get());
        glue.setSize(sizes[0], sizes[1], sizes[2]);
        glue.setDisplacement(sizes[3], sizes[4]);
        error.clear();
        QVERIFY(!glue.run(&error));
        QVERIFY2(error.contains(QLatin1String("cannot hold both")), qPrintable(error));
    }
    // Cells of 1000 units on a base at x = 5: 10000 of them would end beyond 1e7 units, where
    // no document could hold the result.
    const TotalVolume::Ptr wide =
        volumeWith(3, 2, 4, {{0, 0, 0, 1}}, 1000.0f, 1.0f, 1.0f, Util::Vector3D(5, 6, 7));
    GlueSubstrate glue(wide.get(), top.get());
    glue.setSize(10000, 2, 6);
    error.clear();
    QVERIFY(!glue.run(&error));
    QVERIFY2(error.contains(QLatin1String("beyond 10000000 units")), qPrintable(error));
    glue.setSize(9999, 2, 6);
    QVERIFY(glue.run());
}

void TestGlueSubstrate::threadsAgree()
{
    QFETCH(quint32, cellsX);
    QFETCH(int, threads);
    QFETCH(int, strips);
    const TotalVolume::Ptr base = WorkerTest::makeVolume(cellsX, 9, 14, WorkerTest::mixedStructure);
    const TotalVolume::Ptr top =
        WorkerTest::makeVolume(cellsX - 2, 8, 12, [](quint32 x, quint32 y, quint32 z) {
            return WorkerTest::mixedStructure(x, y, z) == 0 ? 0u : 3u + (x + z) % 2;
        });
    GlueSubstrate::Extent e;
    QVERIFY(GlueSubstrate(base.get(), top.get()).measure(e));
    std::vector<quint32> results[2];
    for (int run = 0; run < 2; ++run) {
        for (bool invert : {false, true}) {
            WorkerTest::ThreadCount pool(run == 0 ? 1 : threads);
            GlueSubstrate glue(base.get(), top.get());
            glue.setSize(e.minSizeX, e.minSizeY, e.minSizeZ + 2);
            glue.setDisplacement(2, 1);
            glue.setInvertTop(invert);
            const TotalVolume::Ptr result = glue.run();
            QVERIFY(result);
            QCOMPARE(glue.getTaskCount(), run == 0 ? 1 : strips);
            const std::vector<quint32> cells = cellsOf(result);
            results[run].insert(results[run].end(), cells.begin(), cells.end());
        }
    }
    QVERIFY(results[0] == results[1]);
    QVERIFY(std::find(results[1].begin(), results[1].end(), 999u) == results[1].end());
}

void TestGlueSubstrate::selectGlueUndoRedo()
{
    GlueFixture f;
    const TotalVolume::Ptr base = f.base, top = f.top;
    const std::vector<quint32> baseBefore = cellsOf(base);
    const std::vector<quint32> topBefore = cellsOf(top);
    GlueSubstrate::Extent seen;
    offer<GlueSubstrateOperation>(f, 12, [&seen](GlueSubstrateOperation *op) {
        seen = op->getExtent();
        op->setOptions(3, 2, 7, 1, 0, false);
        op->end();
    });

    f.workspace.startOperation(12);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Glue Volumes: select the base cell volume and press Enter/Return."));
    QVERIFY(f.workspace.getSelection().isSelectionMode());
    f.pick(base);
    f.type("");
    QCOMPARE(f.recorder->last(), QStringLiteral("Glue Volumes: base cell volume selected. Select "
                                                "top cell volume and press enter"));
    f.type("");
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Glue Volumes: select the top cell volume and press Enter/Return."));
    // The base cannot be its own top.
    f.pick(base);
    f.type("");
    QVERIFY2(f.recorder->last().contains(QLatin1String("cannot be glued onto itself")),
             qPrintable(f.recorder->last()));
    QVERIFY(!base->isSelected());
    f.pick(top);
    f.type("");
    QCOMPARE(f.recorder->messages.mid(f.recorder->messages.size() - 2),
             QStringList({QStringLiteral("Glue Volumes: top cell volume selected."),
                          QStringLiteral("Glue Volumes: volumes glued.")}));
    QCOMPARE(seen.minSizeZ, 6u);

    Core::Operations::Document &document = f.workspace.getDocument();
    QCOMPARE(document.getObjects().size(), 1);
    const TotalVolume::Ptr glued =
        boost::dynamic_pointer_cast<TotalVolume>(document.getObjects()[0]);
    QVERIFY(glued);
    QCOMPARE(cellAt(glued, 2, 1, 5), 4u);
    QVERIFY(!f.workspace.getCurrentOperation());
    QVERIFY(!f.workspace.getSelection().isSelectionMode());

    for (int round = 0; round < 2; ++round) {
        QVERIFY(f.workspace.getHistory().undo());
        QCOMPARE(document.getObjects().size(), 2);
        QVERIFY(document.contains(base) && document.contains(top) && !document.contains(glued));
        QCOMPARE(cellsOf(base), baseBefore);
        QCOMPARE(cellsOf(top), topBefore);
        QVERIFY(f.workspace.getHistory().redo());
        QCOMPARE(document.getObjects(), QList<boost::shared_ptr<Model::Object>>{glued});
    }
}

void TestGlueSubstrate::tooLargeChangesNothing()
{
    GlueFixture f;
    offer<GlueSubstrateOperation>(f, 12, [](GlueSubstrateOperation *op) {
        op->setOptions(3, 2, 999999999, 0, 0, false); // far beyond any memory
        op->end();
    });
    // Both already selected, base first: no prompt at all.
    f.pick(f.base);
    f.pick(f.top);
    f.workspace.startOperation(12);
    QVERIFY2(f.recorder->messages.filter(QLatin1String("Glue Volumes: Cannot create a cell volume"))
                     .size() == 1,
             qPrintable(f.recorder->messages.join('\n')));
    QCOMPARE(f.recorder->last(), QStringLiteral("Glue Volumes: Operation canceled."));
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 2);
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
    QVERIFY(!f.workspace.getCurrentOperation());
}

CELVANE_TEST_MAIN(TestGlueSubstrate)
#include "tst_gluesubstrate.moc"
