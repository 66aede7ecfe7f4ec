#include "Core/Operations/cutcellvolumeoperation.h"
#include "testmain.h"
#include "workspacetestutil.h"

using Core::Operations::CutCellVolumeOperation;
using Model::Automaton::TotalVolume;

namespace {

/// Lowest z of any face vertex and the number of downward faces at that height.
std::pair<float, int> lowestFaces(TotalVolume &v)
{
    float lowest = 1e30f;
    for (const Model::Geometry::QuadFace &face : v.getPainter().getOpaqueFaces())
        for (int i = 0; i < 4; ++i)
            lowest = std::min(lowest, face.vertices[i][2]);
    int down = 0;
    for (const Model::Geometry::QuadFace &face : v.getPainter().getOpaqueFaces())
        down += face.normal[2] < 0 && face.vertices[0][2] == lowest ? 1 : 0;
    return {lowest, down};
}

} // namespace

/// The cut-plane operation: taking a volume, previews, and what accepting or cancelling leaves.
class TestCutCellVolumeOperation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void acceptOrCancelAfterPreview_data();
    void acceptOrCancelAfterPreview();
};

void TestCutCellVolumeOperation::acceptOrCancelAfterPreview_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("accepted") << true;
    QTest::newRow("cancelled") << false;
}

void TestCutCellVolumeOperation::acceptOrCancelAfterPreview()
{
    QFETCH(bool, accept);
    WorkspaceFixture f;
    const TotalVolume::Ptr volume = f.addVolume(3, 4, 50, 1);
    volume->getPainter().refresh();
    QCOMPARE(lowestFaces(*volume), std::make_pair(0.0f, 12));
    offer<CutCellVolumeOperation>(f, 16, [&](CutCellVolumeOperation *op) {
        // What the dialog does: a preview of the lower forty layers cut away, then OK, or
        // Cancel, which shows the previous limits again.
        const quint32 lower[3] = {0, 0, 40}, upper[3] = {3, 4, 50};
        op->applyLimits(lower, upper, true);
        QCOMPARE(lowestFaces(*volume), std::make_pair(40.0f, 12));
        if (accept) {
            op->applyLimits(lower, upper, true);
            op->end();
            return;
        }
        const quint32 before[3] = {0, 0, 0}, all[3] = {3, 4, 50};
        op->applyLimits(before, all, true);
        op->cancel();
    });
    f.workspace.startOperation(16);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Change Cut Planes: Select a cell volume and press Enter/Return."));
    f.pick(volume);
    const int updatesBefore = f.updates->count;
    f.type("");
    QCOMPARE(f.recorder->messages.mid(f.recorder->messages.size() - 2),
             QStringList({QStringLiteral("Change Cut Planes: Cell volume selected."),
                          accept ? QStringLiteral("Change Cut Planes: Cut planes changed.")
                                 : QStringLiteral("Change Cut Planes: Operation Canceled!")}));
    quint32 lower[3], upper[3];
    volume->getPainter().getCutLimits(lower, upper);
    QCOMPARE(lower[2], accept ? 40u : 0u);
    QCOMPARE(upper[2], 50u);
    QCOMPARE(lowestFaces(*volume), std::make_pair(accept ? 40.0f : 0.0f, 12));
    QVERIFY(!f.workspace.getCurrentOperation());
    // The cut is a view setting, not a step of the history.
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
    QVERIFY(f.updates->count > updatesBefore);
}

CELVANE_TEST_MAIN(TestCutCellVolumeOperation)
#include "tst_cutcellvolumeoperation.moc"
