#include "Core/Operations/substratebuilder.h"
#include "Util/systemmemory.h"
#include "testmain.h"
#include "workspacetestutil.h"

using namespace Core::Operations;
using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

class TestCreateSubstrateOperation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Util::SystemMemory::setAvailableBytesOverride(0); }
    void defaultBox();
    void raisedBox();
    void boxCutAtVolumeBorder();
    void unitSphere();
    void sphereClippedByVolume();
    void operationThroughObserver();
    void rejectedDialogCancels();
    void unallocatableSubstrateChangesNothing();
    void substrateBeyondTheCoordinateLimitIsRefused_data();
    void substrateBeyondTheCoordinateLimitIsRefused();
};

void TestCreateSubstrateOperation::defaultBox()
{
    SubstrateBuilder builder(1, 100, 100, 80, Util::Vector3D());
    builder.setBox(0, 0, 0, 100, 100, 30);
    const TotalVolume::Ptr v = builder.build();
    QVERIFY(v);
    QCOMPARE(count(v, 1), quint64(100 * 100 * 30));
    QCOMPARE(cellAt(v, 99, 99, 29), 1u);
    QCOMPARE(cellAt(v, 0, 0, 30), 0u);
    QCOMPARE(v->getCellSizeX(), 1.0f);
}

void TestCreateSubstrateOperation::raisedBox()
{
    SubstrateBuilder builder(3, 4, 3, 80, Util::Vector3D(10, 20, 30));
    builder.setBox(1, 0, 50, 2, 3, 30);
    const TotalVolume::Ptr v = builder.build();
    QCOMPARE(count(v, 3), quint64(2 * 3 * 30));
    QCOMPARE(cellAt(v, 1, 0, 50), 3u);
    QCOMPARE(cellAt(v, 2, 2, 79), 3u);
    QCOMPARE(cellAt(v, 1, 0, 49), 0u);
    QCOMPARE(cellAt(v, 0, 0, 60), 0u);
    QCOMPARE(cellAt(v, 3, 0, 60), 0u);
    QCOMPARE(v->getPosition(), Util::Vector4D(10, 20, 30, 0));
}

void TestCreateSubstrateOperation::boxCutAtVolumeBorder()
{
    SubstrateBuilder builder(1, 5, 5, 5, Util::Vector3D());
    builder.setBox(3, 3, 3, 4000000000u, 10, 10);
    QCOMPARE(count(builder.build(), 1), quint64(2 * 2 * 2));
}

void TestCreateSubstrateOperation::unitSphere()
{
    SubstrateBuilder builder(1, 11, 11, 11, Util::Vector3D());
    builder.setSphere(5, 5, 5, 1);
    const TotalVolume::Ptr v = builder.build();
    QCOMPARE(count(v, 1), quint64(7));
    QCOMPARE(cellAt(v, 5, 5, 5), 1u);
    QCOMPARE(cellAt(v, 4, 5, 5), 1u);
    QCOMPARE(cellAt(v, 5, 5, 6), 1u);
    QCOMPARE(cellAt(v, 4, 4, 5), 0u);
}

void TestCreateSubstrateOperation::sphereClippedByVolume()
{
    // Radius 2 centred on a corner: the lattice points with x, y, z >= 0 and
    // x^2 + y^2 + z^2 <= 4, worked out by hand: 1 + 3 (axis 1) + 3 (axis 2) + 3 (two ones)
    // + 1 (three ones) = 11.
    SubstrateBuilder builder(1, 10, 10, 10, Util::Vector3D());
    builder.setSphere(0, 0, 0, 2);
    QCOMPARE(count(builder.build(), 1), quint64(11));
}

void TestCreateSubstrateOperation::operationThroughObserver()
{
    WorkspaceFixture f;
    offer<CreateSubstrateOperation>(f, 2, [](CreateSubstrateOperation *op) {
        op->setBox(1, 10, 10, 8, Util::Vector3D(), 0, 0, 0, 10, 10, 3);
        op->execute();
    });
    f.workspace.startOperation(2);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Create Substrate: substrate created successfully."));
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 1);
    TotalVolume::Ptr v =
        boost::dynamic_pointer_cast<TotalVolume>(f.workspace.getDocument().getObjects()[0]);
    QVERIFY(v);
    QCOMPARE(count(v, 1), quint64(300));
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().undoTopName()),
             QStringLiteral("Create Substrate"));
    const quint32 id = v->getId();
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(f.workspace.getDocument().getObjects().isEmpty());
    QVERIFY(f.workspace.getHistory().redo());
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 1);
    QCOMPARE(f.workspace.getDocument().getObjects()[0]->getId(), id);
    QVERIFY(!f.workspace.getCurrentOperation());
}

void TestCreateSubstrateOperation::rejectedDialogCancels()
{
    WorkspaceFixture f;
    offer<CreateSubstrateOperation>(f, 2, [](CreateSubstrateOperation *op) { op->cancel(); });
    f.workspace.startOperation(2);
    QVERIFY(!f.workspace.getCurrentOperation());
    QVERIFY(f.recorder->messages.isEmpty()); // cancelling writes nothing
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
}

void TestCreateSubstrateOperation::unallocatableSubstrateChangesNothing()
{
    WorkspaceFixture f;
    Util::SystemMemory::setAvailableBytesOverride(1000000);
    QString error;
    offer<CreateSubstrateOperation>(f, 2, [&error](CreateSubstrateOperation *op) {
        op->setBox(1, 10000, 10000, 10000, Util::Vector3D(), 0, 0, 0, 10, 10, 3);
        op->execute();
        error = op->getError();
    });
    f.workspace.startOperation(2);
    QVERIFY2(error.contains(QLatin1String("10000 x 10000 x 10000")), qPrintable(error));
    QVERIFY(f.workspace.getDocument().getObjects().isEmpty());
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
    QVERIFY(!f.workspace.getCurrentOperation());
}

void TestCreateSubstrateOperation::substrateBeyondTheCoordinateLimitIsRefused_data()
{
    // The dialog offers corners up to 1e9, documents hold nothing beyond 1e7 units: such a
    // volume could be worked on but never opened again once saved.
    QTest::addColumn<Util::Vector3D>("corner");
    QTest::addColumn<bool>("built");
    QTest::newRow("far corner at the limit") << Util::Vector3D(9999990, 0, -10000000) << true;
    QTest::newRow("far corner one unit beyond") << Util::Vector3D(9999991, 0, 0) << false;
    QTest::newRow("corner beyond") << Util::Vector3D(0, -10000001, 0) << false;
    QTest::newRow("corner far beyond") << Util::Vector3D(0, 0, 1e9) << false;
}

void TestCreateSubstrateOperation::substrateBeyondTheCoordinateLimitIsRefused()
{
    QFETCH(Util::Vector3D, corner);
    QFETCH(bool, built);
    SubstrateBuilder builder(1, 10, 10, 10, corner);
    builder.setBox(0, 0, 0, 10, 10, 3);
    QString error;
    QCOMPARE(bool(builder.build(&error)), built);
    QCOMPARE(error.contains(QLatin1String("beyond 10000000 units")), !built);
}

CELVANE_TEST_MAIN(TestCreateSubstrateOperation)
#include "tst_createsubstrateoperation.moc"
