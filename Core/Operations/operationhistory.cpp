#include "Core/Operations/operationhistory.h"

#include "Core/Operations/objectoperation.h"
#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

OperationHistory::OperationHistory(Workspace *workspace) : workspace(workspace) {}

void OperationHistory::push(const OperationPtr &operation)
{
    if (!operation)
        return;
    undoStack.push_back(operation);
    redoStack.clear();
    workspace->getDocument().setModified(true);
    keepStateFilesBounded();
    Util::notifyAll(undoObservers);
    Util::notifyAll(redoObservers);
}

void OperationHistory::keepStateFilesBounded()
{
    VolumeStateStore &store = workspace->getVolumeStates();
    const qint64 limit = store.sizeLimit();
    if (store.fileBytes() <= limit)
        return;
    // Down to three quarters of the limit, so that the next steps do not each rewrite the
    // files again. The newest step always stays undoable.
    const qint64 target = limit - limit / 4;
    int dropped = 0;
    while (store.liveBytes() > target && undoStack.size() > 1) {
        undoStack.pop_front();
        ++dropped;
    }
    QString error;
    const bool compacted = store.compact(&error);
    ConsoleInput &console = workspace->getConsoleInput();
    if (dropped > 0) {
        const QString size = limit >= (qint64(1) << 20) ? QStringLiteral("%1 MB").arg(limit >> 20)
                                                        : QStringLiteral("%1 bytes").arg(limit);
        console.writeMessage(
            QStringLiteral("Undo: the undo records grew past %1; the %2 oldest %3 can no longer "
                           "be undone.")
                .arg(size)
                .arg(dropped)
                .arg(dropped == 1 ? QStringLiteral("step") : QStringLiteral("steps"))
                .toStdString());
    }
    if (!compacted)
        console.writeMessage(QStringLiteral("Undo: the undo records could not be compacted (%1).")
                                 .arg(error)
                                 .toStdString());
}

void OperationHistory::clear()
{
    redoStack.clear();
    undoStack.clear();
    // The records of the steps just dropped are no longer needed: give their space back.
    workspace->getVolumeStates().compact();
    Util::notifyAll(redoObservers);
    Util::notifyAll(undoObservers);
}

bool OperationHistory::undo()
{
    if (undoStack.empty())
        return false;
    OperationPtr operation = undoStack.back();
    undoStack.pop_back();
    workspace->cancelCurrentOperation();
    workspace->getDocument().setModified(true);
    if (operation->undo()) {
        redoStack.push_back(operation);
        Util::notifyAll(redoObservers);
    } else {
        undoStack.push_back(operation);
    }
    Util::notifyAll(undoObservers);
    return true;
}

bool OperationHistory::redo()
{
    if (redoStack.empty())
        return false;
    OperationPtr operation = redoStack.back();
    redoStack.pop_back();
    workspace->cancelCurrentOperation();
    workspace->getDocument().setModified(true);
    operation->redo();
    undoStack.push_back(operation);
    Util::notifyAll(undoObservers);
    Util::notifyAll(redoObservers);
    return true;
}

std::string OperationHistory::undoTopName() const
{
    return undoStack.empty() ? std::string() : undoStack.back()->getName();
}

std::string OperationHistory::redoTopName() const
{
    return redoStack.empty() ? std::string() : redoStack.back()->getName();
}

void OperationHistory::addUndoObserver(const Util::ObserverPtr &observer)
{
    if (observer)
        undoObservers.append(observer);
}

void OperationHistory::addRedoObserver(const Util::ObserverPtr &observer)
{
    if (observer)
        redoObservers.append(observer);
}

} // namespace Operations
} // namespace Core
