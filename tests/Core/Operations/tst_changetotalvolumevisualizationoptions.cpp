#include "Core/Operations/changetotalvolumevisualizationoptions.h"
#include "Model/Materials/materialfactory.h"
#include "testmain.h"
#include "workertestutil.h"
#include "workspacetestutil.h"

using namespace Core::Operations;
using Model::Automaton::TotalVolume;
typedef ChangeTotalVolumeVisualizationOptions::Options Options;

namespace {

/// A workspace whose factory builds the visualization operation as id 6, and an observer that
/// answers the dialog with the given options (or does nothing when answer is empty).
struct VisualizationFixture : WorkspaceFixture
{
    VisualizationFixture()
    {
        offerPlain<ChangeTotalVolumeVisualizationOptions>(*this, 6);
        ChangeTotalVolumeVisualizationOptions::setObserver(
            Util::ObserverPtr(new CallbackObserver([this]() {
                ++dialogs;
                const boost::shared_ptr<ChangeTotalVolumeVisualizationOptions> op =
                    boost::dynamic_pointer_cast<ChangeTotalVolumeVisualizationOptions>(
                        workspace.getCurrentOperation());
                QVERIFY(op);
                shownVolume = op->getVolume();
                if (reject) {
                    op->cancel();
                    return;
                }
                op->setOptions(answer);
                op->execute();
            })));
    }
    ~VisualizationFixture()
    {
        ChangeTotalVolumeVisualizationOptions::setObserver(Util::ObserverPtr());
    }

    boost::shared_ptr<ChangeTotalVolumeVisualizationOptions> current() const
    {
        return boost::dynamic_pointer_cast<ChangeTotalVolumeVisualizationOptions>(
            workspace.getCurrentOperation());
    }

    Options answer;
    bool reject = false;
    int dialogs = 0;
    TotalVolume::Ptr shownVolume;
};

} // namespace

/// The visualization-options operation: which volume it takes, when it asks, what it applies.
class TestChangeTotalVolumeVisualizationOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withSelectionOpensTheDialogAndApplies();
    void asksForAVolumeFirst();
    void rejectedDialogCancelsAndStaysCurrent();
    void escapeWhileAskingKeepsItCurrent();
    void endedByAnotherRequestCancels();
    void optionsTakenOnlyWhileTheDialogIsAwaited();
    void otherVolumesAreRecoloured();
    void anOptionChangeBuildsThePictureOnce();
};

void TestChangeTotalVolumeVisualizationOptions::withSelectionOpensTheDialogAndApplies()
{
    VisualizationFixture f;
    // One silicon cell in a 3 x 3 x 3 volume: six faces, and 26 empty cells.
    std::vector<quint32> ids(27, 0);
    ids[13] = 1;
    const TotalVolume::Ptr v = TotalVolume::create(3, 3, 3, 1, 1, 1, Util::Vector3D(), ids);
    QVERIFY(v);
    f.workspace.getDocument().addObject(v);
    v->getPainter().refresh();
    QCOMPARE(v->getPainter().getEmptyCellFaces().size(), std::size_t(0));
    const TotalVolume::Ptr other = f.addVolume();
    f.pick(other);
    f.pick(v); // the last selected is the one

    f.answer.renderEmptyVoxelOutlines = true;
    f.answer.renderSiAtoms = true;
    f.answer.surfaceAlgorithm = 1;
    f.workspace.startOperation(6);
    QCOMPARE(f.dialogs, 1);
    QCOMPARE(f.shownVolume, v);
    QCOMPARE(f.recorder->messages.value(f.recorder->messages.size() - 2),
             QStringLiteral("Change Visualization: Cell volume selected."));
    QCOMPARE(f.recorder->last(), QStringLiteral("Change Visualization: Options changed."));
    QVERIFY(!f.workspace.getCurrentOperation());
    QVERIFY(!f.workspace.getSelection().isSelectionMode());
    QVERIFY(!v->isSelected());
    QVERIFY(!other->isSelected());
    QCOMPARE(f.workspace.getHistory().undoCount(), 0); // not undoable
    // Applied and rebuilt: six grey faces for each of the 26 empty cells.
    QVERIFY(v->getPainter().getShowEmptyVoxelOutlines());
    QCOMPARE(v->getPainter().getEmptyCellFaces().size(), std::size_t(26 * 6));
    QVERIFY(v->getPainter().getRenderSiAtoms());
    QVERIFY(v->getSiLattice()); // built to be shown, before any etch
    QVERIFY(!f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
    QVERIFY(!other->getSiLattice());
    QCOMPARE(v->getPainter().getSurfaceAlgorithm(), 1u);
    QCOMPARE(v->getPainter().getOpaqueFaces().size(), std::size_t(6));
    QVERIFY(!other->getPainter().getShowEmptyVoxelOutlines());
    QVERIFY(!other->getPainter().getRenderSiAtoms());
}

void TestChangeTotalVolumeVisualizationOptions::asksForAVolumeFirst()
{
    VisualizationFixture f;
    const TotalVolume::Ptr v = f.addVolume();
    f.workspace.startOperation(6);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Change Visualization: Select a cell volume and press Enter/Return."));
    QCOMPARE(f.dialogs, 0);
    QVERIFY(f.workspace.getSelection().isSelectionMode());
    QVERIFY(f.workspace.getConsoleInput().isEnterRequested());
    // Enter without a selection asks again.
    f.type("");
    QCOMPARE(f.dialogs, 0);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Change Visualization: Select a cell volume and press Enter/Return."));
    f.pick(v);
    f.answer.renderSiUnitCells = true;
    f.type("");
    QCOMPARE(f.dialogs, 1);
    QVERIFY(v->getPainter().getRenderSiUnitCells());
    QCOMPARE(f.recorder->last(), QStringLiteral("Change Visualization: Options changed."));
}

void TestChangeTotalVolumeVisualizationOptions::rejectedDialogCancelsAndStaysCurrent()
{
    VisualizationFixture f;
    const TotalVolume::Ptr v = f.addVolume();
    f.pick(v);
    f.reject = true;
    f.answer.renderEmptyVoxelOutlines = true;
    f.workspace.startOperation(6);
    QCOMPARE(f.recorder->last(), QStringLiteral("Change Visualization: Operation Canceled!"));
    QVERIFY(!v->getPainter().getShowEmptyVoxelOutlines());
    QVERIFY(f.current());
    QCOMPARE(f.current()->getStep(), 1u);
    // Starting another operation cancels it once more.
    const int before = f.recorder->messages.size();
    f.workspace.startOperation(4);
    QCOMPARE(f.recorder->messages.value(before),
             QStringLiteral("Change Visualization: Operation Canceled!"));
}

void TestChangeTotalVolumeVisualizationOptions::escapeWhileAskingKeepsItCurrent()
{
    VisualizationFixture f;
    const TotalVolume::Ptr v = f.addVolume();
    f.workspace.startOperation(6);
    f.workspace.cancelCurrentOperation();
    QCOMPARE(f.recorder->last(), QStringLiteral("Change Visualization: Operation Canceled!"));
    QVERIFY(f.current());
    QVERIFY(!f.workspace.getConsoleInput().getRequester());
    // Its request was dropped: Enter does nothing now.
    f.pick(v);
    f.type("");
    QCOMPARE(f.dialogs, 0);
}

void TestChangeTotalVolumeVisualizationOptions::endedByAnotherRequestCancels()
{
    VisualizationFixture f;
    f.addVolume();
    f.workspace.startOperation(6);
    const boost::shared_ptr<ChangeTotalVolumeVisualizationOptions> op = f.current();
    QVERIFY(op);
    // Another operation's request ends the waiting one, which cancels and clears itself.
    DeleteObject other(f.workspace);
    f.workspace.getConsoleInput().requestEnter(&other);
    QVERIFY(
        f.recorder->messages.contains(QStringLiteral("Change Visualization: Operation Canceled!")));
    QVERIFY(!f.workspace.getCurrentOperation());
    QCOMPARE(op->getStep(), 0u);
    f.workspace.getConsoleInput().resetRequest();
}

void TestChangeTotalVolumeVisualizationOptions::optionsTakenOnlyWhileTheDialogIsAwaited()
{
    Workspace workspace;
    ChangeTotalVolumeVisualizationOptions op(workspace);
    Options options;
    options.renderSiAtoms = true;
    op.setOptions(options); // step 0: no volume yet, nothing taken
    QCOMPARE(op.getStep(), 0u);
    op.execute(); // still nothing selected: asks
    QCOMPARE(op.getStep(), 0u);
    workspace.getConsoleInput().resetRequest();
}

void TestChangeTotalVolumeVisualizationOptions::otherVolumesAreRecoloured()
{
    VisualizationFixture f;
    const TotalVolume::Ptr a = f.addVolume();
    const TotalVolume::Ptr b = f.addVolume(2, 2, 2, 3); // thermal oxide
    a->getPainter().refresh();
    b->getPainter().refresh();
    const Model::Materials::MaterialFactory::Ptr catalogue =
        Model::Materials::MaterialFactory::instance();
    const Model::Materials::Material oxide = catalogue->getMaterial(3);
    Model::Materials::Material red = oxide;
    red.setColor(1.0f, 0.0f, 0.0f, 1.0f);
    // The dialog's colour tab changed the oxide colour before the options were applied.
    ChangeTotalVolumeVisualizationOptions::setObserver(
        Util::ObserverPtr(new CallbackObserver([&f, &catalogue, red]() {
            catalogue->setMaterial(red);
            f.current()->setOptions(Options());
            f.current()->execute();
        })));
    f.pick(a);
    f.workspace.startOperation(6);
    QCOMPARE(b->getPainter().getOpaqueFaces()[0].color[0], 1.0f);
    QCOMPARE(b->getPainter().getOpaqueFaces()[0].color[2], 0.0f);
    catalogue->setMaterial(oxide);
}

CELVANE_TEST_MAIN(TestChangeTotalVolumeVisualizationOptions)
void TestChangeTotalVolumeVisualizationOptions::anOptionChangeBuildsThePictureOnce()
{
    // Each build of a large volume's picture takes seconds while the window waits.
    VisualizationFixture f;
    const TotalVolume::Ptr v = f.addVolume();
    v->getPainter().refresh();
    f.pick(v);
    f.answer.surfaceAlgorithm = 2;
    int octreeBuilds = 0, faceBuilds = 0;
    {
        const WorkerTest::DebugCapture log;
        f.workspace.startOperation(6);
        for (const WorkerTest::DebugCapture::Message &m : log.messages()) {
            octreeBuilds += m.text.startsWith(QLatin1String("Built an octree"));
            faceBuilds += m.text.contains(QLatin1String("translucent faces in"));
        }
    }
    QCOMPARE(f.recorder->last(), QStringLiteral("Change Visualization: Options changed."));
    QCOMPARE(v->getPainter().getSurfaceAlgorithm(), 2u);
    QVERIFY(v->getPainter().getOctree().getRoot());
    QCOMPARE(octreeBuilds, 1);
    QCOMPARE(faceBuilds, 1);
}

#include "tst_changetotalvolumevisualizationoptions.moc"
