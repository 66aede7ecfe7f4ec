#include "Core/Operations/totalvolumeundoredohelper.h"
#include "Core/Operations/undoableprocessoperation.h"
#include "testmain.h"
#include "workspacetestutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace Core::Operations;
using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace {

/// While not 0, allocations of at least this many bytes fail, as on a machine short of memory.
std::atomic<std::size_t> failingFrom{0};

class ShortOfMemory
{
public:
    explicit ShortOfMemory(std::size_t bytes) { failingFrom = bytes; }
    ~ShortOfMemory() { failingFrom = 0; }
};

} // namespace

void *operator new(std::size_t bytes)
{
    const std::size_t limit = failingFrom.load();
    if (limit != 0 && bytes >= limit)
        throw std::bad_alloc();
    if (void *block = std::malloc(bytes ? bytes : 1))
        return block;
    throw std::bad_alloc();
}

// The thread sanitizer's own delete takes the blocks (it keeps malloc and new in one heap) and
// knows which of them Qt frees for its thread pool; ours would hide that from its suppressions.
#if !defined(__SANITIZE_THREAD__)
void operator delete(void *block) noexcept
{
    std::free(block);
}

void operator delete(void *block, std::size_t) noexcept
{
    std::free(block);
}
#endif

namespace {

/// An undoable process operation: records the cells, rewrites them, records them again.
class FakeProcess : public ObjectOperation
{
public:
    FakeProcess(Workspace &w, TotalVolume::Ptr volume, quint32 material)
        : ObjectOperation(w, "Fake Process", 950), helper(QStringLiteral("IsotropicEtching"), &w),
          volume(volume), material(material)
    {}
    /// Records under tag "T" and the instance given: one-digit instances and materials make
    /// every record of a 2 x 2 x 2 volume exactly 20 bytes ("T i" and eight " m", a break).
    FakeProcess(Workspace &w, TotalVolume::Ptr volume, quint32 material, quint32 instance)
        : ObjectOperation(w, "Fake Process", 950), helper(QStringLiteral("T"), instance, &w),
          volume(volume), material(material)
    {}
    void execute() override
    {
        QVERIFY(helper.saveUndoState(*volume));
        // Top half becomes the new material, and a diagonal gets emptied.
        Voxel *cells = volume->lockCells();
        Voxel *next = volume->lockNextCells();
        for (quint32 x = 0; x < volume->getCellsX(); ++x)
            for (quint32 y = 0; y < volume->getCellsY(); ++y)
                for (quint32 z = volume->getCellsZ() / 2; z < volume->getCellsZ(); ++z) {
                    const quint64 i = volume->getCellIndex(x, y, z);
                    cells[i].material = next[i].material = (x == y) ? 0 : material;
                }
        volume->releaseNextCells();
        volume->releaseCells();
        QVERIFY(helper.saveRedoState(*volume));
        finish();
    }
    void cancel() override {}
    void end() override {}
    bool undo() override
    {
        undoLoaded = helper.loadUndoState(*volume);
        return true;
    }
    void redo() override { redoLoaded = helper.loadRedoState(*volume); }

    TotalVolumeUndoRedoHelper helper;
    TotalVolume::Ptr volume;
    quint32 material;
    bool undoLoaded = false;
    bool redoLoaded = false;
};

/// A process step that empties the top half of the volume and, when told to, then runs out of
/// memory as a worker may half way.
class HalfwayProcess : public UndoableProcessOperation
{
public:
    HalfwayProcess(Workspace &w, bool runsOut)
        : UndoableProcessOperation(w, "Halfway", 952, QStringLiteral("Halfway")), runsOut(runsOut)
    {}
    bool inputsComplete() const override { return true; }
    bool runWorker(std::string &) override
    {
        Voxel *cells = volume->lockCells();
        Voxel *next = volume->lockNextCells();
        for (quint64 i = 0; i < volume->getCellCount(); ++i)
            if (i % volume->getCellsZ() >= volume->getCellsZ() / 2)
                cells[i].material = next[i].material = 0;
        volume->releaseNextCells();
        volume->releaseCells();
        if (runsOut)
            throw std::bad_alloc();
        return true;
    }
    bool runsOut;
};

/// An undo that refuses.
class StubbornOperation : public ObjectOperation
{
public:
    explicit StubbornOperation(Workspace &w) : ObjectOperation(w, "Stubborn", 951) {}
    void execute() override { finish(); }
    void cancel() override {}
    void end() override {}
    bool undo() override { return false; }
    void redo() override {}
};

} // namespace

class TestUndoRedo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stateFilesLiveWithTheStore();
    void stateFilesFallBackToTemporaryFolder();
    void undoRestoresExactCells_data();
    void undoRestoresExactCells();
    void damagedRecordChangesNothing();
    void recordFormat();
    void unchangedCellsAreNotRecordedAgain();
    void sizeLimitDropsTheOldestSteps();
    void undoCancelsRunningOperationFirst();
    void loadingRunsAsAStep();
    void refusedUndoStaysOnStack();
    void pushAfterUndoEmptiesRedo();
    void observersFollowStacks();
    void shortOfMemoryStillPutsTheCellsBack();
    void lostRecordLeavesTheStepDone();
};

void TestUndoRedo::stateFilesLiveWithTheStore()
{
    WorkingDirectory dir;
    QString undo, redo;
    {
        VolumeStateStore store;
        undo = store.undoFileName();
        redo = store.redoFileName();
        QVERIFY(QFile::exists(undo));
        QVERIFY(QFile::exists(redo));
        QCOMPARE(QFileInfo(undo).absolutePath(), QDir(dir.path()).absolutePath());
        const QString number = QFileInfo(undo).fileName().mid(4).chopped(5);
        QCOMPARE(QFileInfo(redo).fileName(), QStringLiteral("redo") + number + ".temp");
        QVERIFY(QFileInfo(undo).fileName().endsWith(QLatin1String(".temp")));
        QVERIFY(store.getArchiver(1));
        QVERIFY(!store.getArchiver(2));
        // A second store in the same directory (another window) gets other files.
        VolumeStateStore second;
        QVERIFY(second.undoFileName() != undo);
    }
    QVERIFY(!QFile::exists(undo));
    QVERIFY(!QFile::exists(redo));
}

void TestUndoRedo::stateFilesFallBackToTemporaryFolder()
{
    WorkingDirectory dir;
    QDir(dir.path()).mkdir(QStringLiteral("ro"));
    const QString ro = QDir(dir.path()).filePath(QStringLiteral("ro"));
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QDir::setCurrent(ro);
    {
        // As root the folder stays writable; either way the store must come up.
        VolumeStateStore store;
        QVERIFY(QFile::exists(store.undoFileName()));
    }
    QDir::setCurrent(dir.path());
    QFile::setPermissions(ro,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestUndoRedo::undoRestoresExactCells_data()
{
    QTest::addColumn<quint32>("side");
    QTest::addColumn<QList<quint32>>("materials"); // one process each
    QTest::newRow("one process") << 5u << QList<quint32>{3};
    QTest::newRow("two processes") << 4u << QList<quint32>{3, 7};
    QTest::newRow("large volume, large id") << 200u << QList<quint32>{30000};
}

void TestUndoRedo::undoRestoresExactCells()
{
    QFETCH(quint32, side);
    QFETCH(QList<quint32>, materials);
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addVolume(side, side - 1, side / 2 + 2, 1);
    setCell(v, side - 1, side - 2, 0, 9);
    std::vector<std::vector<quint32>> states{cellsOf(v)};
    QList<boost::shared_ptr<FakeProcess>> steps;
    for (quint32 material : materials) {
        steps.append(boost::shared_ptr<FakeProcess>(new FakeProcess(f.workspace, v, material)));
        steps.last()->execute();
        states.push_back(cellsOf(v));
        QVERIFY(states[states.size() - 1] != states[states.size() - 2]);
    }
    const quint32 top = side / 2 + 1;
    QCOMPARE(states.back()[v->getCellIndex(1, 1, top)], 0u);
    QCOMPARE(states.back()[v->getCellIndex(1, 2, top)], materials.last());
    checkHistoryWalk(f.workspace, v, states);
    QVERIFY(steps.first()->undoLoaded);
    QVERIFY(steps.last()->redoLoaded);
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == states[states.size() - 2]);
}

void TestUndoRedo::damagedRecordChangesNothing()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addVolume(2, 2, 2, 1);
    TotalVolumeUndoRedoHelper helper(QStringLiteral("Doping"), 5, &f.workspace);
    // A record with too few values, one with another instance, one with a bad number, one
    // with a number beyond 32 bits.
    QFile file(f.workspace.getVolumeStates().undoFileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Doping 5 1 2 3\nDoping 6 4 4 4 4 4 4 4 4\nDoping 5 1 x 1 1 1 1 1 1\n"
               "Doping 5 1 1 1 1 1 1 1 4294967296\n");
    file.close();
    QVERIFY(!helper.loadState(f.workspace.getVolumeStates().undoFileName(), *v));
    QCOMPARE(cellsOf(v), std::vector<quint32>(8, 1));
    // A record written by hand in the format is found by scanning.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Append));
    file.write("Other 5 9 9 9 9 9 9 9 9\nDoping 5 8 7 6 5 4 3 2 1\n");
    file.close();
    QVERIFY(helper.loadState(f.workspace.getVolumeStates().undoFileName(), *v));
    QCOMPARE(cellsOf(v), (std::vector<quint32>{8, 7, 6, 5, 4, 3, 2, 1}));
    // A missing file is skipped.
    QVERIFY(!helper.loadState(QStringLiteral("no-such-file.temp"), *v));
}

void TestUndoRedo::recordFormat()
{
    WorkspaceFixture f;
    std::vector<quint32> ids{0, 1, 16, 4294967295u, 7, 2000};
    TotalVolume::Ptr v = TotalVolume::create(1, 2, 3, 1, 1, 1, Util::Vector3D(), ids);
    TotalVolumeUndoRedoHelper helper(QStringLiteral("MooreFilmDep"), 12, &f.workspace);
    QVERIFY(helper.saveUndoState(*v));
    QFile file(f.workspace.getVolumeStates().undoFileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("MooreFilmDep 12 0 1 16 4294967295 7 2000\n"));
}

void TestUndoRedo::unchangedCellsAreNotRecordedAgain()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addVolume(2, 2, 2, 1);
    const QString undoFile = f.workspace.getVolumeStates().undoFileName();
    const QString redoFile = f.workspace.getVolumeStates().redoFileName();
    const auto sizes = [&]() {
        return qMakePair(QFileInfo(undoFile).size(), QFileInfo(redoFile).size());
    };
    std::vector<std::vector<quint32>> states{cellsOf(v)};
    QList<boost::shared_ptr<FakeProcess>> steps;
    const auto step = [&](quint32 material) {
        steps.append(boost::shared_ptr<FakeProcess>(
            new FakeProcess(f.workspace, v, material, quint32(steps.size()))));
        steps.last()->execute();
        states.push_back(cellsOf(v));
    };
    step(3);
    QCOMPARE(sizes(), qMakePair(qint64(20), qint64(20)));
    // The cells before the second step are those after the first: shared, not written.
    step(4);
    QCOMPARE(sizes(), qMakePair(qint64(20), qint64(40)));
    // A step that changes nothing shares one record for both.
    step(4);
    QCOMPARE(sizes(), qMakePair(qint64(20), qint64(40)));
    // Cells changed outside the history: recorded afresh, and undo brings that change back.
    const std::vector<quint32> afterThird = states.back();
    setCell(v, 0, 0, 0, 7);
    states.back() = cellsOf(v);
    step(5);
    QCOMPARE(sizes(), qMakePair(qint64(40), qint64(60)));
    QCOMPARE(states[4][0], 7u);
    // states[i]: the cells before step i.
    for (size_t i = states.size() - 1; i > 0; --i) {
        QVERIFY(f.workspace.getHistory().undo());
        QVERIFY(cellsOf(v) == states[i - 1]);
    }
    for (size_t i = 1; i < states.size(); ++i) {
        QVERIFY(f.workspace.getHistory().redo());
        QVERIFY(cellsOf(v) == (i == 3 ? afterThird : states[i]));
    }
}

void TestUndoRedo::sizeLimitDropsTheOldestSteps()
{
    WorkspaceFixture f;
    VolumeStateStore &store = f.workspace.getVolumeStates();
    QCOMPARE(store.sizeLimit(), qint64(2) << 30);
    store.setSizeLimit(100);
    TotalVolume::Ptr v = f.addVolume(2, 2, 2, 1);
    std::vector<std::vector<quint32>> states{cellsOf(v)};
    // Only the history holds the steps. Step 0 writes two records, every later one its result
    // only: 20 + 20 n bytes.
    const auto step = [&](quint32 i) {
        boost::shared_ptr<FakeProcess>(new FakeProcess(f.workspace, v, 2 + i, i))->execute();
        states.push_back(cellsOf(v));
    };
    for (quint32 i = 0; i < 4; ++i)
        step(i);
    QCOMPARE(store.fileBytes(), qint64(100));
    QCOMPARE(f.workspace.getHistory().undoCount(), 4);
    // 120 bytes: down to three quarters of the limit. Dropping step 0 frees its undo record,
    // step 1 the result of step 0, step 2 that of step 1: 60 bytes stay.
    step(4);
    QCOMPARE(f.recorder->last(), QStringLiteral("Undo: the undo records grew past 100 bytes; "
                                                "the 3 oldest steps can no longer be undone."));
    QCOMPARE(f.workspace.getHistory().undoCount(), 2);
    QCOMPARE(QFileInfo(store.undoFileName()).size(), qint64(0));
    QCOMPARE(QFileInfo(store.redoFileName()).size(), qint64(60));
    // What is left still undoes and redoes exactly, from the moved records.
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == states[4]);
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == states[3]);
    QVERIFY(!f.workspace.getHistory().undo());
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(v) == states[5]);
    // A cleared history (a new document) gives all of its space back.
    f.workspace.getHistory().clear();
    QCOMPARE(store.fileBytes(), qint64(0));
}

void TestUndoRedo::undoCancelsRunningOperationFirst()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addVolume();
    f.pick(v);
    f.workspace.startOperation(7);
    f.type("1, 0, 0");
    f.workspace.startOperation(7); // waits for a selection
    QVERIFY(f.workspace.getCurrentOperation());
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(f.recorder->messages.contains(QStringLiteral("Move: Operation canceled")));
    QCOMPARE(v->getPosition(), Util::Vector4D());
}

void TestUndoRedo::loadingRunsAsAStep()
{
    // The records of a large volume take seconds to read: the window must go on drawing.
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addVolume(4, 3, 4, 1);
    const std::vector<quint32> before = cellsOf(v);
    QStringList steps;
    f.workspace.setStepRunner([&](const std::string &name, Util::Progress &, bool cancellable,
                                  const std::function<void()> &work) {
        steps << QString::fromStdString(name) + (cancellable ? "?" : "");
        QtConcurrent::run(work).waitForFinished();
    });
    boost::shared_ptr<FakeProcess> op(new FakeProcess(f.workspace, v, 5));
    op->execute();
    const std::vector<quint32> after = cellsOf(v);
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == before);
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(v) == after);
    QCOMPARE(steps, QStringList({"Undo", "Redo"}));
}

void TestUndoRedo::refusedUndoStaysOnStack()
{
    WorkspaceFixture f;
    boost::shared_ptr<StubbornOperation> op(new StubbornOperation(f.workspace));
    op->execute();
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
    QVERIFY(f.workspace.getHistory().undo());
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
    QCOMPARE(f.workspace.getHistory().redoCount(), 0);
}

void TestUndoRedo::pushAfterUndoEmptiesRedo()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addVolume();
    f.pick(v);
    f.workspace.startOperation(7);
    f.type("1, 0, 0");
    QVERIFY(f.workspace.getHistory().undo());
    QCOMPARE(f.workspace.getHistory().redoCount(), 1);
    f.pick(v);
    f.workspace.startOperation(4);
    QCOMPARE(f.workspace.getHistory().redoCount(), 0);
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().redoTopName()), QString());
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().undoTopName()),
             QStringLiteral("Delete Objects"));
}

void TestUndoRedo::observersFollowStacks()
{
    WorkspaceFixture f;
    boost::shared_ptr<CountingObserver> undoSeen(new CountingObserver());
    boost::shared_ptr<CountingObserver> redoSeen(new CountingObserver());
    f.workspace.getHistory().addUndoObserver(undoSeen);
    f.workspace.getHistory().addRedoObserver(redoSeen);
    TotalVolume::Ptr v = f.addVolume();
    f.pick(v);
    f.workspace.startOperation(4);
    QCOMPARE(undoSeen->count, 1);
    QCOMPARE(redoSeen->count, 1);
    f.workspace.getHistory().undo();
    QCOMPARE(undoSeen->count, 2);
    QCOMPARE(redoSeen->count, 2);
    f.workspace.getHistory().clear();
    QCOMPARE(undoSeen->count, 3);
    QCOMPARE(redoSeen->count, 3);
    QVERIFY(!f.workspace.getHistory().redo());
    QCOMPARE(redoSeen->count, 3);
}

void TestUndoRedo::shortOfMemoryStillPutsTheCellsBack()
{
    // No room for a copy of the recorded cells (4 bytes a cell): the record is read into the
    // cells a block at a time, when a step that ran out of memory half way is put back as well
    // as when a step is undone and redone.
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addVolume(40, 30, 20, 1);
    const std::vector<quint32> before = cellsOf(v);
    const std::size_t copy = before.size() * sizeof(quint32);
    boost::shared_ptr<HalfwayProcess> failing(new HalfwayProcess(f.workspace, true));
    f.pick(v);
    failing->execute();
    {
        ShortOfMemory shortage(copy);
        failing->end();
    }
    QVERIFY(cellsOf(v) == before);
    QCOMPARE(f.recorder->last(), QStringLiteral("Halfway: Operation failed: out of memory."));
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);

    boost::shared_ptr<HalfwayProcess> step(new HalfwayProcess(f.workspace, false));
    f.pick(v);
    step->execute();
    step->end();
    const std::vector<quint32> after = cellsOf(v);
    QCOMPARE(after[v->getCellIndex(3, 4, 10)], 0u);
    {
        ShortOfMemory shortage(copy);
        QVERIFY(f.workspace.getHistory().undo());
    }
    QVERIFY(cellsOf(v) == before);
    QCOMPARE(f.workspace.getHistory().redoCount(), 1);
    {
        ShortOfMemory shortage(copy);
        QVERIFY(f.workspace.getHistory().redo());
    }
    QVERIFY(cellsOf(v) == after);
}

void TestUndoRedo::lostRecordLeavesTheStepDone()
{
    // The state file was emptied behind the program's back: the step cannot be undone, so it
    // stays done and on the undo stack, and the console says so.
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addVolume(4, 3, 6, 1);
    boost::shared_ptr<HalfwayProcess> step(new HalfwayProcess(f.workspace, false));
    f.pick(v);
    step->execute();
    step->end();
    const std::vector<quint32> after = cellsOf(v);
    QVERIFY(QFile(f.workspace.getVolumeStates().undoFileName()).resize(0));
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == after);
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
    QCOMPARE(f.workspace.getHistory().redoCount(), 0);
    QCOMPARE(f.recorder->last(), QStringLiteral("Halfway: the cells from before the step could "
                                                "not be read; it was not undone."));
}

CELVANE_TEST_MAIN(TestUndoRedo)
#include "tst_undoredo.moc"
