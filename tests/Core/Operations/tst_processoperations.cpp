#include "Core/Operations/Isotropic/isotropicfilmdepositionoperation.h"
#include "Core/Operations/Isotropic/isotropicfilmetchingoperation.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhooddepositionoperation.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetchingoperation.h"
#include "Core/Operations/Photolithography/photolithographyoperation.h"
#include "Core/Operations/Planarization/planarizationoperation.h"
#include "Core/Operations/Planarization/spincoatingoperation.h"
#include "Core/Operations/ReactiveIonEtching/simplereactiveionetchingoperation.h"
#include "testmain.h"
#include "workspacetestutil.h"

#include <QTemporaryDir>

using namespace Core::Operations;
using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace {

/// A 6 x 5 x 8 volume: silicon below z = 3, empty above.
TotalVolume::Ptr substrate(WorkspaceFixture &f)
{
    TotalVolume::Ptr v = TotalVolume::createFilled(6, 5, 8, 1, 1, 1, Util::Vector3D(), 0);
    Voxel *c = v->lockCells();
    Voxel *n = v->lockNextCells();
    for (quint32 x = 0; x < 6; ++x)
        for (quint32 y = 0; y < 5; ++y)
            for (quint32 z = 0; z < 3; ++z) {
                const quint64 i = v->getCellIndex(x, y, z);
                c[i].material = n[i].material = 1;
            }
    v->releaseNextCells();
    v->releaseCells();
    f.workspace.getDocument().addObject(v);
    return v;
}

} // namespace

class TestProcessOperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void depositionProtocolAndUndo();
    void depositionAsksForVolumeFirst();
    void lastSelectedVolumeWins();
    void rejectedDialogLeavesOperationWaiting();
    void siliconMarksLatticeStale_data();
    void siliconMarksLatticeStale();
    void etchingUndoRedo();
    void twoOperationsUndoTwoStates();
    void mooreSteps();
    void mooreRejectedDialogCancels();
    void refusedInputsFail();
    void photolithographyMasksAndCleanup();
    void photolithographyNeedsMaterial();
    void planarizationAndPouring();
    void rieDirections();
    void irreversibleStepEndsTheHistory();
    void cancelledPhotolithographyTakesItsMasksBack();

private:
    QScopedPointer<QTemporaryDir> dir;
    QString previous;
};

void TestProcessOperations::init()
{
    previous = QDir::currentPath();
    dir.reset(new QTemporaryDir());
    QDir::setCurrent(dir->path());
}

void TestProcessOperations::cleanup()
{
    QDir::setCurrent(previous);
    dir.reset();
}

void TestProcessOperations::depositionProtocolAndUndo()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    const std::vector<quint32> before = cellsOf(v);
    offer<IsotropicFilmDepositionOperation>(f, 13, [](IsotropicFilmDepositionOperation *op) {
        QCOMPARE(op->getInputCount(), 2);
        op->setThickness(2.0f);
        op->setMaterial(3);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(13);
    QCOMPARE(f.recorder->messages, (QStringList{"Isotropic Deposition: Cell volume selected.",
                                                "Isotropic Deposition: Operation finished."}));
    // Two layers of oxide on the flat top, away from the volume's sides.
    QCOMPARE(cellsOf(v)[v->getCellIndex(3, 2, 3)], 3u);
    QCOMPARE(cellsOf(v)[v->getCellIndex(3, 2, 4)], 3u);
    QCOMPARE(cellsOf(v)[v->getCellIndex(3, 2, 5)], 0u);
    const std::vector<quint32> after = cellsOf(v);
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().undoTopName()),
             QStringLiteral("Isotropic Deposition"));
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == before);
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(v) == after);
}

void TestProcessOperations::depositionAsksForVolumeFirst()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    bool asked = false;
    offer<IsotropicFilmDepositionOperation>(
        f, 13, [&asked](IsotropicFilmDepositionOperation *) { asked = true; });
    f.workspace.startOperation(13);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Isotropic Deposition: Select a cell volume and press Enter/Return."));
    QVERIFY(f.workspace.getSelection().isSelectionMode());
    f.type(""); // Enter with nothing selected asks again
    QVERIFY(!asked);
    f.pick(v);
    f.type("");
    QVERIFY(asked);
    QVERIFY(!f.workspace.getSelection().isSelectionMode());
}

void TestProcessOperations::lastSelectedVolumeWins()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = substrate(f);
    TotalVolume::Ptr b = substrate(f);
    TotalVolume::Ptr used;
    offer<IsotropicFilmEtchingOperation>(
        f, 14, [&used](IsotropicFilmEtchingOperation *op) { used = op->getVolume(); });
    f.pick(a);
    f.pick(b);
    f.workspace.startOperation(14);
    QCOMPARE(used, b);
}

void TestProcessOperations::rejectedDialogLeavesOperationWaiting()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    offer<IsotropicFilmDepositionOperation>(f, 13, [](IsotropicFilmDepositionOperation *) {});
    f.pick(v);
    f.workspace.startOperation(13);
    QVERIFY(f.workspace.getCurrentOperation());
    f.workspace.getCurrentOperation()->end(); // only the volume: not enough inputs
    QCOMPARE(f.recorder->last(), QStringLiteral("Isotropic Deposition: Operation canceled."));
    QVERIFY(!f.workspace.getCurrentOperation());
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
}

void TestProcessOperations::siliconMarksLatticeStale_data()
{
    QTest::addColumn<quint32>("material");
    QTest::addColumn<bool>("stale");
    QTest::newRow("silicon") << 1u << true;
    QTest::newRow("oxide") << 3u << false;
}

void TestProcessOperations::siliconMarksLatticeStale()
{
    QFETCH(quint32, material);
    QFETCH(bool, stale);
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    offer<IsotropicFilmDepositionOperation>(f, 13,
                                            [material](IsotropicFilmDepositionOperation *op) {
                                                op->setThickness(1.0f);
                                                op->setMaterial(material);
                                                op->end();
                                            });
    f.pick(v);
    f.workspace.startOperation(13);
    QCOMPARE(f.workspace.getVolumeRecords().isLatticeStale(v->getId()), stale);
}

void TestProcessOperations::etchingUndoRedo()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    const std::vector<quint32> before = cellsOf(v);
    offer<IsotropicFilmEtchingOperation>(f, 14, [](IsotropicFilmEtchingOperation *op) {
        op->setDepth(1.0f);
        op->setMaterial(1);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(14);
    QCOMPARE(count(v, 1), quint64(6 * 5 * 2)); // one layer of silicon gone
    const std::vector<quint32> after = cellsOf(v);
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == before);
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(v) == after);
}

void TestProcessOperations::twoOperationsUndoTwoStates()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    offer<IsotropicFilmDepositionOperation>(f, 13, [](IsotropicFilmDepositionOperation *op) {
        op->setThickness(1.0f);
        op->setMaterial(3);
        op->end();
    });
    offer<MooreNeighborhoodDepositionOperation>(f, 18,
                                                [](MooreNeighborhoodDepositionOperation *op) {
                                                    op->setMaterial(4);
                                                    op->setSteps(1);
                                                    op->end();
                                                });
    const std::vector<quint32> s0 = cellsOf(v);
    f.pick(v);
    f.workspace.startOperation(13);
    const std::vector<quint32> s1 = cellsOf(v);
    f.pick(v);
    f.workspace.startOperation(18);
    const std::vector<quint32> s2 = cellsOf(v);
    QVERIFY(s0 != s1 && s1 != s2);
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == s1);
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == s0);
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(v) == s2);
}

void TestProcessOperations::mooreSteps()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    offer<MooreNeighborhoodEtchingOperation>(f, 19, [](MooreNeighborhoodEtchingOperation *op) {
        op->setMaterial(1);
        op->setSteps(2);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(19);
    QCOMPARE(count(v, 1), quint64(6 * 5 * 1));
    QCOMPARE(f.recorder->last(), QStringLiteral("Moore film deposition: Operation finished."));
    QVERIFY(f.workspace.getHistory().undo());
    QCOMPARE(count(v, 1), quint64(6 * 5 * 3));
}

void TestProcessOperations::mooreRejectedDialogCancels()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    offer<MooreNeighborhoodDepositionOperation>(
        f, 18, [](MooreNeighborhoodDepositionOperation *op) { op->cancel(); });
    f.pick(v);
    f.workspace.startOperation(18);
    QCOMPARE(f.recorder->last(), QStringLiteral("Moore film deposition: Operation canceled."));
    QVERIFY(!f.workspace.getCurrentOperation());
}

void TestProcessOperations::refusedInputsFail()
{
    // A thickness that is not a number: the worker refuses, nothing changes, nothing is kept.
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    const std::vector<quint32> before = cellsOf(v);
    offer<IsotropicFilmDepositionOperation>(f, 13, [](IsotropicFilmDepositionOperation *op) {
        op->setThickness(std::numeric_limits<float>::quiet_NaN());
        op->setMaterial(3);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(13);
    QVERIFY2(
        f.recorder->last().startsWith(QLatin1String("Isotropic Deposition: Operation failed:")),
        qPrintable(f.recorder->last()));
    QVERIFY(cellsOf(v) == before);
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
    QVERIFY(!f.workspace.getCurrentOperation());
}

void TestProcessOperations::photolithographyMasksAndCleanup()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    // A positive resist film on z = 3, 4.
    Voxel *c = v->lockCells();
    Voxel *n = v->lockNextCells();
    for (quint32 x = 0; x < 6; ++x)
        for (quint32 y = 0; y < 5; ++y)
            for (quint32 z = 3; z < 5; ++z)
                c[v->getCellIndex(x, y, z)].material = n[v->getCellIndex(x, y, z)].material = 11;
    v->releaseNextCells();
    v->releaseCells();
    quint32 shownWidth = 0, shownHeight = 0;
    boost::shared_ptr<PhotolithographyOperation> op(new PhotolithographyOperation(f.workspace));
    PhotolithographyOperation *raw = op.get();
    op->setObserver(Util::ObserverPtr(new CallbackObserver([raw, v, &shownWidth, &shownHeight]() {
        std::vector<bool> mask(6 * 5, false);
        for (quint32 y = 0; y < 5; ++y)
            mask[0 * 5 + y] = true; // column x = 0 shielded
        raw->setTopMask(mask, 6, 5);
        v->getTopMaskSize(shownWidth, shownHeight); // shown on the volume at once
        raw->setMaterial(11);
        raw->end();
    })));
    f.factory->extra = [op](quint32 id) -> TestOperationFactory::OperationPtr {
        return id == 20 ? op : TestOperationFactory::OperationPtr();
    };
    f.pick(v);
    f.workspace.startOperation(20);
    QCOMPARE(shownWidth, 6u);
    QCOMPARE(shownHeight, 5u);
    QCOMPARE(f.recorder->last(), QStringLiteral("Photolithography: Operation finished."));
    QCOMPARE(count(v, 11), quint64(1 * 5 * 2)); // only the shielded column keeps its resist
    quint32 w = 9, h = 9;
    v->getTopMaskSize(w, h);
    QCOMPARE(w, 0u);
    QCOMPARE(h, 0u);
    QCOMPARE(f.workspace.getHistory().undoCount(), 0); // not undoable
}

void TestProcessOperations::photolithographyNeedsMaterial()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    boost::shared_ptr<PhotolithographyOperation> op(new PhotolithographyOperation(f.workspace));
    f.factory->extra = [op](quint32 id) -> TestOperationFactory::OperationPtr {
        return id == 20 ? op : TestOperationFactory::OperationPtr();
    };
    f.pick(v);
    f.workspace.startOperation(20);
    op->end();
    QCOMPARE(f.recorder->last(), QStringLiteral("Photolithography: Operation Canceled!"));
}

void TestProcessOperations::planarizationAndPouring()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    offer<SpinCoatingOperation>(f, 23, [](SpinCoatingOperation *op) {
        op->setMaterial(13);
        op->setHeight(5);
        op->end();
    });
    offer<PlanarizationOperation>(f, 22, [](PlanarizationOperation *op) {
        op->setMaximumHeight(4);
        op->setMinimumHeight(1);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(23);
    QCOMPARE(count(v, 13), quint64(6 * 5 * 2)); // layers 3 and 4 poured
    QCOMPARE(f.recorder->last(), QStringLiteral("Spin Coating: Operation finished."));
    QVERIFY(!f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
    f.pick(v);
    f.workspace.startOperation(22);
    QCOMPARE(count(v, 1), quint64(6 * 5 * 2));  // layers 1 and 2
    QCOMPARE(count(v, 13), quint64(6 * 5 * 1)); // layer 3
    QVERIFY(f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
    // The cancel texts differ.
    f.workspace.startOperation(22);
    f.workspace.cancelCurrentOperation();
    QCOMPARE(f.recorder->last(), QStringLiteral("Planarization: Operation canceled!"));
}

void TestProcessOperations::rieDirections()
{
    WorkspaceFixture f;
    SimpleReactiveIonEtchingOperation op(f.workspace);
    QCOMPARE(int(op.getDirection()), 1);
    op.setEtchFromBelow(true);
    QCOMPARE(int(op.getDirection()), 3);
    op.setEtchFromTop(false);
    QCOMPARE(int(op.getDirection()), 2);
    op.setEtchFromBelow(false);
    QCOMPARE(int(op.getDirection()), 0);

    TotalVolume::Ptr v = substrate(f);
    offer<SimpleReactiveIonEtchingOperation>(f, 30, [](SimpleReactiveIonEtchingOperation *rie) {
        rie->setDepth(2.9); // whole steps: 2
        rie->setMaterial(1);
        rie->setEtchFromBelow(false);
        rie->setEtchFromTop(true);
        rie->end();
    });
    f.pick(v);
    f.workspace.startOperation(30);
    QCOMPARE(count(v, 1), quint64(6 * 5 * 1));
    QCOMPARE(f.recorder->last(), QStringLiteral("Simple RIE: Operation finished."));
}

void TestProcessOperations::irreversibleStepEndsTheHistory()
{
    // Undoing the deposition would reload the volume without the poured resist, and no redo
    // could bring the resist back: after a step that cannot be undone, nothing before it can.
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    offer<IsotropicFilmDepositionOperation>(f, 13, [](IsotropicFilmDepositionOperation *op) {
        op->setThickness(1.0f);
        op->setMaterial(3);
        op->end();
    });
    offer<SpinCoatingOperation>(f, 23, [](SpinCoatingOperation *op) {
        op->setMaterial(11);
        op->setHeight(6);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(13);
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
    f.pick(v);
    f.workspace.startOperation(23);
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
    QCOMPARE(f.workspace.getHistory().redoCount(), 0);
    QCOMPARE(f.recorder->messages.at(f.recorder->messages.size() - 2),
             QStringLiteral("Spin Coating: This step cannot be undone; earlier steps can no "
                            "longer be undone either."));
    QCOMPARE(f.recorder->last(), QStringLiteral("Spin Coating: Operation finished."));
    const quint64 resist = count(v, 11);
    QVERIFY(resist > 0);
    QVERIFY(!f.workspace.getHistory().undo());
    QCOMPARE(count(v, 11), resist);
    // With nothing to lose, nothing is said.
    f.pick(v);
    f.workspace.startOperation(23);
    QCOMPARE(f.recorder->messages.at(f.recorder->messages.size() - 2),
             QStringLiteral("Spin Coating: Cell volume selected."));
}

void TestProcessOperations::cancelledPhotolithographyTakesItsMasksBack()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    boost::shared_ptr<PhotolithographyOperation> op(new PhotolithographyOperation(f.workspace));
    PhotolithographyOperation *raw = op.get();
    op->setObserver(Util::ObserverPtr(new CallbackObserver([raw]() {
        raw->setTopMask(std::vector<bool>(30, true), 6, 5);
        raw->cancel(); // the dialog was rejected
    })));
    f.factory->extra = [op](quint32 id) -> TestOperationFactory::OperationPtr {
        return id == 20 ? op : TestOperationFactory::OperationPtr();
    };
    f.pick(v);
    f.workspace.startOperation(20);
    quint32 w = 9, h = 9;
    v->getTopMaskSize(w, h);
    QCOMPARE(w, 0u);
    QCOMPARE(h, 0u);
    QVERIFY(v->getTopMask().empty());
    QCOMPARE(f.recorder->last(), QStringLiteral("Photolithography: Operation Canceled!"));
    QVERIFY(!f.workspace.getCurrentOperation());
}

CELVANE_TEST_MAIN(TestProcessOperations)
#include "tst_processoperations.moc"
