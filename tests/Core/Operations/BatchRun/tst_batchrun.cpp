#include "Core/Operations/BatchRun/batchrun.h"
#include "Core/Operations/BatchRun/batchrunoperation.h"
#include "Model/Materials/materialfactory.h"
#include "testmain.h"
#include "workspacetestutil.h"

using namespace Core::Operations;
using Model::Automaton::TotalVolume;

namespace {

BatchRun::Step substrate()
{
    // An 8 x 6 x 6 volume, silicon in its lower three layers.
    return {11,
            {{"MaterialId", 1u},
             {"Lower Left Front Corner", QVariant::fromValue(Util::Vector3D())},
             {"Volume Size X", 8u},
             {"Volume Size Y", 6u},
             {"Volume Size Z", 6u},
             {"SphericalSubstrate", false},
             {"Substrate Delta X", 0u},
             {"Substrate Delta Y", 0u},
             {"Substrate Delta Z", 0u},
             {"Substrate Size X", 8u},
             {"Substrate Size Y", 6u},
             {"Substrate Size Z", 3u}}};
}

BatchRun::Step mooreFilm(quint32 layers)
{
    return {2, {{"MaterialId", 16u}, {"Thickness", layers}}};
}

} // namespace

/// A process list run step after step on one volume.
class TestBatchRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Model::Materials::MaterialFactory::instance()->loadDefaultMaterials(); }
    void skippedStepsAreListedAndTheRunGoesOn();
    void stopEndsTheRunAfterTheCurrentStep();
    void runWithoutItsRecordIsNotUndone();
};

void TestBatchRun::skippedStepsAreListedAndTheRunGoesOn()
{
    const QList<BatchRun::Step> steps{
        substrate(), {1, {{"Depth", "deep"}}}, {4, {{"MaterialId", 16u}}}, mooreFilm(2)};
    BatchRun batch{StepContext()};
    QVERIFY(!batch.run(steps));
    QCOMPARE(batch.getCompletedSteps(), 4u);
    QCOMPARE(count(batch.getVolume(), 16), quint64(8 * 6 * 2));
    QCOMPARE(batch.summary(steps),
             QStringLiteral("2 of 4 steps ran.\n"
                            "Step 2 (Si wet etching) skipped: parameter \"Depth\" is not a number\n"
                            "Step 3 (CVD) skipped: parameter \"Thickness\" is missing"));
}

void TestBatchRun::stopEndsTheRunAfterTheCurrentStep()
{
    const QList<BatchRun::Step> steps{substrate(), mooreFilm(1), mooreFilm(1)};
    BatchRun batch{StepContext()};
    batch.setStepObserver([&](int index, const BatchRun::Step &, const BatchRun::Result &) {
        if (index == 1)
            batch.requestStop();
    });
    QVERIFY(!batch.run(steps));
    QVERIFY(batch.wasStopped());
    QCOMPARE(batch.getCompletedSteps(), 2u);
    QCOMPARE(batch.getProgress().getTotal(), quint64(3));
    QCOMPARE(count(batch.getVolume(), 16), quint64(8 * 6)); // the second film never came
    QCOMPARE(batch.getResults().at(2).outcome, BatchRun::NotRun);
    QCOMPARE(batch.summary(steps),
             QStringLiteral("2 of 3 steps ran.\nThe run was stopped after step 2."));
}

void TestBatchRun::runWithoutItsRecordIsNotUndone()
{
    // The state file was emptied behind the program's back: the run stays done, the volume it
    // made stays in the document, and the console says why.
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered(3, 6);
    boost::shared_ptr<BatchRunOperation> entry(new BatchRunOperation(f.workspace));
    QVERIFY(entry->recordStart(v));
    StepContext context;
    context.volume = v;
    context.document = &f.workspace.getDocument();
    BatchRun run(context);
    QVERIFY(run.run({mooreFilm(2), substrate()}));
    const std::vector<quint32> after = cellsOf(v);
    QVERIFY(entry->recordEnd());
    QCOMPARE(entry->getCreatedVolumes().size(), 1);
    QVERIFY(QFile(f.workspace.getVolumeStates().undoFileName()).resize(0));
    QVERIFY(f.workspace.getHistory().undo());
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
    QVERIFY(cellsOf(v) == after);
    QVERIFY(f.workspace.getDocument().getObjects().contains(entry->getCreatedVolumes().first()));
    QCOMPARE(f.recorder->last(), QStringLiteral("Batch Run: the cells from before the run could "
                                                "not be read; it was not undone."));
}

CELVANE_TEST_MAIN(TestBatchRun)
#include "tst_batchrun.moc"
