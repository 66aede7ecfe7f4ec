#ifndef CELVANE_TESTS_WORKSPACETESTUTIL_H
#define CELVANE_TESTS_WORKSPACETESTUTIL_H

#include "Core/Operations/copyobject.h"
#include "Core/Operations/createsubstrateoperation.h"
#include "Core/Operations/deleteobject.h"
#include "Core/Operations/moveobject.h"
#include "Core/Operations/selectvolumesoperation.h"
#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

/// Collects what operations write to the console.
class MessageRecorder : public Util::IObserver
{
public:
    explicit MessageRecorder(Core::Operations::ConsoleInput *input) : input(input) {}
    void update() override { messages.append(QString::fromStdString(input->getLastMessage())); }
    QString last() const { return messages.isEmpty() ? QString() : messages.last(); }

    Core::Operations::ConsoleInput *input;
    QStringList messages;
};

/// Counts update notifications.
class CountingObserver : public Util::IObserver
{
public:
    void update() override { ++count; }
    int count = 0;
};

/// Answers an operation's dialog request by calling a function, as a UI observer would.
class CallbackObserver : public Util::IObserver
{
public:
    explicit CallbackObserver(std::function<void()> callback) : callback(std::move(callback)) {}
    void update() override { callback(); }
    std::function<void()> callback;
};

/// The object operations of the core, built the way the UI factory builds them; extra ids
/// come from a test-supplied function.
class TestOperationFactory : public Core::Operations::IOperationFactory
{
public:
    typedef boost::shared_ptr<Core::Operations::Operation> OperationPtr;

    explicit TestOperationFactory(Core::Operations::Workspace &workspace) : workspace(workspace) {}

    OperationPtr createOperation(quint32 id) override
    {
        using namespace Core::Operations;
        if (extra) {
            OperationPtr op = extra(id);
            if (op)
                return op;
        }
        switch (id) {
        case 1:
            return OperationPtr(new CopyObject(workspace));
        case 4:
            return OperationPtr(new DeleteObject(workspace));
        case 7:
            return OperationPtr(new MoveObject(workspace));
        case 24:
            return OperationPtr(new SelectVolumesOperation(workspace));
        default:
            return OperationPtr();
        }
    }

    Core::Operations::Workspace &workspace;
    std::function<OperationPtr(quint32)> extra;
};

/// Makes a fresh temporary folder the working directory for its lifetime: the undo state
/// files of a workspace go to the working directory.
class WorkingDirectory
{
public:
    WorkingDirectory() : previous(QDir::currentPath()) { QDir::setCurrent(dir.path()); }
    ~WorkingDirectory() { QDir::setCurrent(previous); }
    QString path() const { return dir.path(); }

private:
    QTemporaryDir dir;
    QString previous;
};

/// A workspace in its own working directory, with a recorder and the test factory attached.
struct WorkspaceFixture
{
    WorkspaceFixture()
        : recorder(new MessageRecorder(&workspace.getConsoleInput())),
          updates(new CountingObserver()), factory(new TestOperationFactory(workspace))
    {
        workspace.getConsoleInput().addObserver(recorder);
        workspace.addUpdateObserver(updates);
        workspace.setOperationFactory(factory);
    }

    Model::Automaton::TotalVolume::Ptr addVolume(quint32 x = 2, quint32 y = 2, quint32 z = 2,
                                                 quint32 material = 1)
    {
        Model::Automaton::TotalVolume::Ptr v = Model::Automaton::TotalVolume::createFilled(
            x, y, z, 1, 1, 1, Util::Vector3D(), material);
        workspace.getDocument().addObject(v);
        return v;
    }

    /// A click on the object in the view: picking happens in selection mode.
    void pick(const boost::shared_ptr<Model::Object> &object)
    {
        workspace.getSelection().setSelectionMode(true);
        workspace.getSelection().togglePicked(QList<quint32>{object->getId()});
    }

    /// A 6 x 5 x height volume: fill below z = level, empty above.
    Model::Automaton::TotalVolume::Ptr addLayered(quint32 level = 3, quint32 height = 8,
                                                  quint32 fill = 1)
    {
        Model::Automaton::TotalVolume::Ptr v = addVolume(6, 5, height, 0);
        Model::Automaton::Voxel *c = v->lockCells();
        Model::Automaton::Voxel *n = v->lockNextCells();
        for (quint64 i = 0; i < v->getCellCount(); ++i) {
            quint32 x, y, z;
            v->getCellCoordinates(i, x, y, z);
            c[i].material = n[i].material = z < level ? fill : 0;
        }
        v->releaseNextCells();
        v->releaseCells();
        return v;
    }

    void type(const char *line) { workspace.getConsoleInput().submitLine(line); }

    WorkingDirectory directory;
    Core::Operations::Workspace workspace;
    boost::shared_ptr<MessageRecorder> recorder;
    boost::shared_ptr<CountingObserver> updates;
    boost::shared_ptr<TestOperationFactory> factory;
};

/// Registers an operation under id whose observer answers the dialog with answer(op).
template <class Op>
inline void offer(WorkspaceFixture &f, quint32 id, std::function<void(Op *)> answer)
{
    TestOperationFactory *factory = f.factory.get();
    Core::Operations::Workspace *workspace = &f.workspace;
    auto previous = factory->extra;
    factory->extra = [=](quint32 requested) -> TestOperationFactory::OperationPtr {
        if (requested != id)
            return previous ? previous(requested) : TestOperationFactory::OperationPtr();
        boost::shared_ptr<Op> op(new Op(*workspace));
        Op *raw = op.get();
        op->setObserver(Util::ObserverPtr(new CallbackObserver([raw, answer]() { answer(raw); })));
        return op;
    };
}

/// Registers an operation under id, built without an observer.
template <class Op> inline void offerPlain(WorkspaceFixture &f, quint32 id)
{
    Core::Operations::Workspace *workspace = &f.workspace;
    auto previous = f.factory->extra;
    f.factory->extra = [=](quint32 requested) -> TestOperationFactory::OperationPtr {
        if (requested == id)
            return TestOperationFactory::OperationPtr(new Op(*workspace));
        return previous ? previous(requested) : TestOperationFactory::OperationPtr();
    };
}

/// An operation id with the observer that answers its dialog, as a data row can carry it.
struct Step
{
    quint32 id = 0;
    std::function<void(WorkspaceFixture &)> offer;
};
Q_DECLARE_METATYPE(Step)

/// A step whose observer answers the dialog with answer(op).
template <class Op> inline Step answering(quint32 id, std::function<void(Op *)> answer)
{
    return Step{id, [=](WorkspaceFixture &f) { offer<Op>(f, id, answer); }};
}

/// Picks the volume and starts the step on it, as a click and a menu entry would.
inline void run(WorkspaceFixture &f, const Model::Automaton::TotalVolume::Ptr &v, const Step &step)
{
    step.offer(f);
    f.pick(v);
    f.workspace.startOperation(step.id);
}

/// The materials of both cell arrays (999 where they disagree).
inline std::vector<quint32> cellsOf(const Model::Automaton::TotalVolume::Ptr &v)
{
    std::vector<quint32> ids(v->getCellCount());
    Model::Automaton::Voxel *c = v->lockCells();
    Model::Automaton::Voxel *n = v->lockNextCells();
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = c[i].material == n[i].material ? c[i].material : 999;
    v->releaseNextCells();
    v->releaseCells();
    return ids;
}

/// How many cells hold the material.
inline quint64 count(const Model::Automaton::TotalVolume::Ptr &v, quint32 material)
{
    quint64 n = 0;
    for (quint32 id : cellsOf(v))
        n += id == material;
    return n;
}

/// Sets a cell in both arrays.
inline void setCell(const Model::Automaton::TotalVolume::Ptr &v, quint32 x, quint32 y, quint32 z,
                    quint32 material)
{
    const quint64 i = v->getCellIndex(x, y, z);
    v->lockCells()[i].material = material;
    v->lockNextCells()[i].material = material;
    v->releaseNextCells();
    v->releaseCells();
}

/// The material of a cell (999 where the arrays disagree).
inline quint32 cellAt(const Model::Automaton::TotalVolume::Ptr &v, quint32 x, quint32 y, quint32 z)
{
    return cellsOf(v)[v->getCellIndex(x, y, z)];
}

/// Walks the history from the last of states back to the first and forward again; at every
/// step both arrays must hold exactly the cells recorded for that state.
inline void checkHistoryWalk(Core::Operations::Workspace &w,
                             const Model::Automaton::TotalVolume::Ptr &v,
                             const std::vector<std::vector<quint32>> &states)
{
    for (size_t i = states.size() - 1; i > 0; --i) {
        QVERIFY(w.getHistory().undo());
        QVERIFY2(cellsOf(v) == states[i - 1], qPrintable(QStringLiteral("undo to %1").arg(i - 1)));
    }
    for (size_t i = 1; i < states.size(); ++i) {
        QVERIFY(w.getHistory().redo());
        QVERIFY2(cellsOf(v) == states[i], qPrintable(QStringLiteral("redo to %1").arg(i)));
    }
}

#endif
