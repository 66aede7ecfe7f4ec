#include "Model/Process/processfactory.h"
#include "processstepstestutil.h"
#include "testmain.h"
#include "workertestutil.h"

using namespace Core::Operations;
using Model::Automaton::TotalVolume;
using namespace Steps;

namespace {

/// 40 x 9 x 30 cells, silicon below z = 8: wide enough for a strip per thread, deep enough for
/// a film or an etch that is still going after a few passes.
TotalVolume::Ptr addSlab(WorkspaceFixture &f)
{
    TotalVolume::Ptr v = WorkerTest::makeVolume(
        40, 9, 30, [](quint32, quint32, quint32 z) { return z < 8 ? 1u : 0u; });
    f.workspace.getDocument().addObject(v);
    return v;
}

} // namespace

/// Cancelling a step part-way: the cells are exactly as before it, nothing enters the history,
/// and what follows runs as if the step had never started.
class TestProcessCancel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Model::Process::ProcessFactory::instance()->loadDefaultProcesses(); }
    void cancelPutsTheCellsBack_data();
    void cancelPutsTheCellsBack();
    void cancelAfterTheLastPassStillCancels();
};

void TestProcessCancel::cancelPutsTheCellsBack_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint64>("total");
    QTest::addColumn<quint64>("cancelAt");
    QTest::addColumn<int>("threads");
    // Thickness 10 in cells of 1: trunc(10 x 1.7071) = 17 passes. Depth 5: 5 x 4 = 20 steps.
    for (int threads : {1, 3}) {
        QTest::addRow("isotropic deposition, %d threads", threads)
            << isotropicDeposition(10.0f, 3) << "Isotropic Deposition" << quint64(17) << quint64(5)
            << threads;
        QTest::addRow("wet etching, %d threads", threads)
            << wetEtching(5.0) << "BCA Wet Etch" << quint64(20) << quint64(12) << threads;
    }
    QTest::addRow("Moore deposition, 3 threads")
        << mooreDeposition(3, 12) << "Moore film deposition" << quint64(12) << quint64(4) << 3;
    // One layer per step: depth 6 is 6 steps, into the 8 layers of silicon.
    QTest::addRow("RIE, 3 threads") << rie(6.0, 1) << "Simple RIE" << quint64(6) << quint64(3) << 3;
}

void TestProcessCancel::cancelPutsTheCellsBack()
{
    QFETCH(Step, step);
    QFETCH(QString, name);
    QFETCH(quint64, total);
    QFETCH(quint64, cancelAt);
    QFETCH(int, threads);
    WorkerTest::ThreadCount pool(threads);
    WorkspaceFixture f;
    // The user's hand on Cancel: after cancelAt passes, or never when it is 0.
    quint64 stopAt = 0;
    quint64 reportedTotal = 0, reportedDone = 0;
    bool offered = false;
    f.workspace.setStepRunner([&](const std::string &name, Util::Progress &progress,
                                  bool cancellable, const std::function<void()> &work) {
        if (name == "Undo" || name == "Redo") {
            work(); // putting the cells back reads their record as a step of its own
            return;
        }
        offered = cancellable;
        progress.cancelWhenDone(stopAt);
        Util::Progress::Scope scope(&progress);
        work();
        reportedTotal = progress.getTotal();
        reportedDone = progress.getDone();
    });

    // Another volume's history entry, which the cancelled step must leave alone.
    TotalVolume::Ptr other = addSlab(f);
    run(f, other, isotropicDeposition(1.0f, 3));
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);

    TotalVolume::Ptr v = addSlab(f);
    const std::vector<quint32> before = cellsOf(v);
    stopAt = cancelAt;
    run(f, v, step);
    QVERIFY(offered);
    QCOMPARE(reportedTotal, total);
    QCOMPARE(reportedDone, cancelAt);
    QCOMPARE(f.recorder->last(), name + QStringLiteral(": Operation Canceled!"));
    QVERIFY(cellsOf(v) == before);
    QVERIFY(!f.workspace.getCurrentOperation());
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
    QCOMPARE(f.workspace.getHistory().undoTopName(), std::string("Isotropic Deposition"));
    // The other volume's step still undoes to its bare silicon, and redoes.
    const quint64 film = count(other, 3);
    QVERIFY(film > 0);
    QVERIFY(f.workspace.getHistory().undo());
    QCOMPARE(count(other, 3), quint64(0));
    QCOMPARE(count(other, 1), quint64(40 * 9 * 8));
    QVERIFY(cellsOf(v) == before);
    QVERIFY(f.workspace.getHistory().redo());
    QCOMPARE(count(other, 3), film);

    // Run again in full, the step gives what it gives on a volume it never touched: nothing of
    // the cancelled run is left (no lock held, no crystal out of step with the cells).
    TotalVolume::Ptr twin = addSlab(f);
    stopAt = 0;
    run(f, twin, step);
    run(f, v, step);
    QCOMPARE(f.recorder->last(), name + QStringLiteral(": Operation finished."));
    QVERIFY(cellsOf(v) != before);
    QVERIFY(cellsOf(v) == cellsOf(twin));
    QCOMPARE(reportedTotal, total);
}

void TestProcessCancel::cancelAfterTheLastPassStillCancels()
{
    // The user pressed Cancel and was told the step is canceling; the worker had already
    // passed its last check. The step must not be committed behind the user's back.
    WorkspaceFixture f;
    f.workspace.setStepRunner([](const std::string &name, Util::Progress &progress, bool,
                                 const std::function<void()> &work) {
        Util::Progress::Scope scope(&progress);
        work();
        if (name != "Undo")
            progress.cancel();
    });
    TotalVolume::Ptr v = addSlab(f);
    const std::vector<quint32> before = cellsOf(v);
    run(f, v, isotropicDeposition(10.0f, 3));
    QCOMPARE(f.recorder->last(), QStringLiteral("Isotropic Deposition: Operation Canceled!"));
    QVERIFY(cellsOf(v) == before);
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
}

CELVANE_TEST_MAIN(TestProcessCancel)
#include "tst_processcancel.moc"
