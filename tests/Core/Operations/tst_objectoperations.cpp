#include "testmain.h"
#include "workspacetestutil.h"

using namespace Core::Operations;
using Model::Automaton::TotalVolume;

namespace {

/// An object too large to be copied: its clone cannot be allocated.
class Uncopyable : public Model::Object
{
public:
    qint32 getType() const override { return 1; }
    void draw(bool, bool) override {}
    void drawForPicking() override {}
    boost::shared_ptr<Model::Object> clone() override { return {}; }
    void translate(Util::Vector4D) override {}
    void transform(Util::Vector4D, Util::Vector4D) override {}
};

} // namespace

class TestObjectOperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void moveWithPriorSelectionTakesTypedDistance();
    void moveAsksForSelectionFirst();
    void escapeDuringMoveKeepsItCurrent();
    void moveEndedByAnotherRequestCancels();
    void moveByClickedPoints();
    void farDistancesAreRefused_data();
    void farDistancesAreRefused();
    void copyAddsDisplacedClones();
    void copyEndedByAnotherRequestCommits();
    void copyWithoutAnyCloneEnds();
    void deleteWithSelectionDeletesAtOnce();
    void deleteAsksUntilSomethingIsSelected();
    void selectVolumesTakesFirstVolume();
    void selectVolumesWithoutVolume();
};

void TestObjectOperations::moveWithPriorSelectionTakesTypedDistance()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume();
    TotalVolume::Ptr b = f.addVolume();
    a->translate(Util::Vector3D(0.5, 0.25, 0.125));
    f.pick(a);
    f.pick(b);
    f.workspace.startOperation(7);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Move: Left click or enter the distance into the console (x, y, z):"));
    QVERIFY(a->isPreview());
    QVERIFY(!a->isSelected()); // selection taken and cleared
    QVERIFY(!f.workspace.getSelection().isSelectionMode());
    f.type("1, -2, 0.5");
    QCOMPARE(f.recorder->last(), QStringLiteral("Move: Object(s) moved"));
    QCOMPARE(a->getPosition(), Util::Vector4D(1.5, -1.75, 0.625, 0));
    QCOMPARE(b->getPosition(), Util::Vector4D(1, -2, 0.5, 0));
    QVERIFY(!a->isPreview());
    QCOMPARE(a->getPreviewDisplacement(), Util::Vector4D());
    QVERIFY(!f.workspace.getCurrentOperation());
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().undoTopName()),
             QStringLiteral("Move Objects"));
    // Undo and redo alternate without drift; each changes the document: closing would ask to
    // save.
    for (int i = 0; i < 3; ++i) {
        f.workspace.getDocument().setModified(false);
        QVERIFY(f.workspace.getHistory().undo());
        QVERIFY(f.workspace.getDocument().isModified());
        QCOMPARE(a->getPosition(), Util::Vector4D(0.5, 0.25, 0.125, 0));
        QCOMPARE(b->getPosition(), Util::Vector4D());
        QVERIFY(f.workspace.getHistory().redo());
        QCOMPARE(a->getPosition(), Util::Vector4D(1.5, -1.75, 0.625, 0));
    }
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(!f.workspace.getHistory().undo()); // empty stack
    QCOMPARE(f.workspace.getHistory().redoCount(), 1);
}

void TestObjectOperations::moveAsksForSelectionFirst()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume();
    f.workspace.startOperation(7);
    QVERIFY(f.recorder->last().startsWith(QLatin1String("Move:")));
    QVERIFY(f.recorder->last().contains(QLatin1String("Enter/Return")));
    QVERIFY(f.workspace.getSelection().isSelectionMode());
    f.pick(a);
    QVERIFY(a->isSelected());
    f.type(""); // Return
    QVERIFY(a->isPreview());
    f.type("0, 2.5, -1");
    QCOMPARE(a->getPosition(), Util::Vector4D(0, 2.5, -1, 0));
}

void TestObjectOperations::escapeDuringMoveKeepsItCurrent()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume();
    f.pick(a);
    f.workspace.startOperation(7);
    f.workspace.cancelCurrentOperation();
    QCOMPARE(f.recorder->last(), QStringLiteral("Move: Operation canceled"));
    QVERIFY(!a->isPreview());
    QVERIFY(f.workspace.getCurrentOperation());
    const int messages = f.recorder->messages.size();
    f.type("1, 1, 1"); // the request was dropped: nothing happens
    QCOMPARE(a->getPosition(), Util::Vector4D());
    QCOMPARE(f.recorder->messages.size(), messages);
    // Starting another operation cancels the old one once more.
    f.workspace.startOperation(4);
    QCOMPARE(f.recorder->messages.at(messages), QStringLiteral("Move: Operation canceled"));
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
}

void TestObjectOperations::moveEndedByAnotherRequestCancels()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume();
    f.pick(a);
    boost::shared_ptr<Operation> move(new MoveObject(f.workspace));
    move->execute();               // waits for coordinates without being the running operation
    f.workspace.startOperation(4); // Delete asks for Enter: the move is ended
    QVERIFY(f.recorder->messages.contains(QStringLiteral("Move: Operation canceled")));
    QCOMPARE(a->getPosition(), Util::Vector4D());
    QVERIFY(!a->isPreview());
    // The running Delete was neither cleared nor finished by the move.
    QVERIFY(boost::dynamic_pointer_cast<DeleteObject>(f.workspace.getCurrentOperation()));
}

void TestObjectOperations::moveByClickedPoints()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume();
    f.pick(a);
    f.workspace.startOperation(7);
    PickState &pick = f.workspace.getPickState();
    // The view fills the published point and steps the waiting operation.
    *pick.getPointToFill() = Util::Vector3D(1, 1, 0);
    pick.getWaitingOperation()->execute();
    QCOMPARE(f.recorder->last(), QStringLiteral("Move: Left click on destination."));
    *pick.getPointToFill() = Util::Vector3D(4, 5, 0);
    *pick.getPickMode() = 0; // final click
    pick.getWaitingOperation()->execute();
    QCOMPARE(a->getPosition(), Util::Vector4D(3, 4, 0, 0));
    QCOMPARE(f.recorder->last(), QStringLiteral("Move: Object(s) moved"));
    QVERIFY(!pick.getWaitingOperation());
}

void TestObjectOperations::farDistancesAreRefused_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("distance");
    QTest::newRow("move far") << 7 << "Move"
                              << "1e39, 0, 0";
    QTest::newRow("copy far") << 1 << "Copy"
                              << "0, 0, -1e8";
    // The volume is 2 wide: its far corner would lie just beyond ten million units.
    QTest::newRow("move the far corner out") << 7 << "Move"
                                             << "9999999, 0, 0";
}

void TestObjectOperations::farDistancesAreRefused()
{
    QFETCH(int, operation);
    QFETCH(QString, prefix);
    QFETCH(QString, distance);
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume(2, 1, 1, 1);
    f.pick(a);
    f.workspace.startOperation(quint32(operation));
    f.type(qPrintable(distance));
    const QStringList &said = f.recorder->messages;
    QCOMPARE(said.at(said.size() - 2),
             prefix + ": The distance would take the object(s) beyond 10000000 units from the "
                      "origin.");
    QCOMPARE(said.last(),
             prefix + ": Left click or enter the distance into the console (x, y, z):");
    QCOMPARE(a->getPreviewDisplacement(), Util::Vector4D());
    // Still waiting: a sane distance goes through.
    f.type("9999998, 0, -3");
    const TotalVolume::Ptr last =
        boost::dynamic_pointer_cast<TotalVolume>(f.workspace.getDocument().getObjects().last());
    QCOMPARE(last->getPosition(), Util::Vector4D(9999998, 0, -3, 0));
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
}

void TestObjectOperations::copyAddsDisplacedClones()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume(3, 1, 2, 5);
    f.pick(a);
    f.workspace.startOperation(1);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Copy: Left click or enter the distance into the console (x, y, z):"));
    f.type("0, 0, 10");
    QCOMPARE(f.recorder->last(), QStringLiteral("Copy: Object(s) copied"));
    const QList<Document::ObjectPtr> objects = f.workspace.getDocument().getObjects();
    QCOMPARE(objects.size(), 2);
    TotalVolume::Ptr copy = boost::dynamic_pointer_cast<TotalVolume>(objects[1]);
    QVERIFY(copy && copy != a);
    QCOMPARE(copy->getPosition(), Util::Vector4D(0, 0, 10, 0));
    QCOMPARE(a->getPosition(), Util::Vector4D());
    QCOMPARE(copy->lockCells()[5].material, 5u);
    copy->releaseCells();
    QVERIFY(!copy->isPreview());
    // The copy is drawn at once: the 22 cell faces on the surface of a 3 x 1 x 2 block.
    QCOMPARE(copy->getPainter().getOpaqueFaces().size() +
                 copy->getPainter().getTranslucentFaces().size(),
             std::size_t(22));
    const quint32 copyId = copy->getId();
    QVERIFY(f.workspace.getHistory().undo());
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 1);
    QVERIFY(f.workspace.getHistory().redo());
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 2);
    QCOMPARE(f.workspace.getDocument().getObjects()[1]->getId(), copyId);
}

void TestObjectOperations::copyEndedByAnotherRequestCommits()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume();
    f.pick(a);
    boost::shared_ptr<Operation> copy(new CopyObject(f.workspace));
    copy->execute();
    f.workspace.startOperation(4); // takes the console over
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 2);
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().undoTopName()),
             QStringLiteral("Copy Objects"));
}

void TestObjectOperations::copyWithoutAnyCloneEnds()
{
    // No clone fits in memory: the copy ends with the reason instead of asking for a distance
    // and then reporting copies that do not exist.
    WorkspaceFixture f;
    boost::shared_ptr<Model::Object> big(new Uncopyable);
    f.workspace.getDocument().addObject(big);
    f.pick(big);
    f.workspace.startOperation(1);
    QCOMPARE(f.recorder->messages,
             (QStringList{"Copy: An object could not be copied: not enough memory.",
                          "Copy: Operation canceled"}));
    QVERIFY(!f.workspace.getCurrentOperation());
    QVERIFY(!f.workspace.getConsoleInput().isEnterRequested());
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 1);
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
}

void TestObjectOperations::deleteWithSelectionDeletesAtOnce()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume();
    TotalVolume::Ptr b = f.addVolume();
    f.pick(b);
    f.workspace.startOperation(4);
    QCOMPARE(f.recorder->last(), QStringLiteral("Delete: objects deleted."));
    QCOMPARE(f.workspace.getDocument().getObjects(), QList<Document::ObjectPtr>{a});
    QVERIFY(!b->isSelected());
    QVERIFY(f.workspace.getHistory().undo());
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 2);
    QVERIFY(f.workspace.getHistory().redo());
    QCOMPARE(f.workspace.getDocument().getObjects(), QList<Document::ObjectPtr>{a});
}

void TestObjectOperations::deleteAsksUntilSomethingIsSelected()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume();
    TotalVolume::Ptr b = f.addVolume();
    const QString ask = QStringLiteral("Delete: Select the objects to be deleted and press "
                                       "Return/Enter");
    f.workspace.startOperation(4);
    QCOMPARE(f.recorder->last(), ask);
    QVERIFY(f.workspace.getSelection().isSelectionMode());
    f.type(""); // Enter with nothing selected asks again
    QCOMPARE(f.recorder->last(), ask);
    f.pick(a);
    f.type("");
    QCOMPARE(f.recorder->last(), QStringLiteral("Delete: objects deleted."));
    QCOMPARE(f.workspace.getDocument().getObjects(), QList<Document::ObjectPtr>{b});
    // Cancelled while it asks, it ends and deletes nothing.
    f.workspace.startOperation(4);
    f.workspace.cancelCurrentOperation();
    QCOMPARE(f.recorder->last(), QStringLiteral("Delete: Operation canceled."));
    QVERIFY(!f.workspace.getCurrentOperation());
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 1);
}

void TestObjectOperations::selectVolumesTakesFirstVolume()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addVolume();
    TotalVolume::Ptr b = f.addVolume();
    int opened = 0;
    TotalVolume::Ptr chosen;
    offer<SelectVolumesOperation>(f, 24, [&opened, &chosen](SelectVolumesOperation *op) {
        ++opened;
        chosen = op->getVolume();
    });
    f.pick(b);
    f.pick(a);
    f.workspace.startOperation(24);
    QCOMPARE(f.recorder->last(), QStringLiteral("Select volumes: Cell volume selected."));
    QCOMPARE(opened, 1);
    QCOMPARE(chosen, b);
    QVERIFY(!f.workspace.getCurrentOperation());
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
}

void TestObjectOperations::selectVolumesWithoutVolume()
{
    WorkspaceFixture f;
    f.addVolume();
    f.type("new"); // typed before the operation asked anything: ignored
    f.workspace.startOperation(24);
    QVERIFY(f.workspace.getCurrentOperation());
    QVERIFY(f.recorder->last().startsWith(QLatin1String("Select volumes: Select a cell volume")));
    QVERIFY(f.recorder->last().endsWith(
        QLatin1String("To start without a cell volume type N and press Enter/Return.")));
    QVERIFY(f.workspace.getSelection().isSelectionMode());
    f.type("N");
    QVERIFY(!f.workspace.getCurrentOperation());
    // The answer ends the picking too: later clicks in the view must not select volumes.
    QVERIFY(!f.workspace.getSelection().isSelectionMode());
}

CELVANE_TEST_MAIN(TestObjectOperations)
#include "tst_objectoperations.moc"
