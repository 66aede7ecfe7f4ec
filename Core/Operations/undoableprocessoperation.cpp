#include "Core/Operations/undoableprocessoperation.h"

namespace Core {
namespace Operations {

UndoableProcessOperation::UndoableProcessOperation(Workspace &workspace, const std::string &name,
                                                   quint32 id, const QString &key)
    : ProcessOperation<ObjectOperation>(workspace, name, id), undoStore(key, &workspace),
      recorded(false)
{}

bool UndoableProcessOperation::runProcess(std::string &failure)
{
    QString error;
    // Without its record the step could not be undone: it does not run at all.
    if (!undoStore.saveUndoState(*volume, &error)) {
        failure = "the cells could not be recorded for undo (" + error.toStdString() + ")";
        return false;
    }
    recorded = true;
    if (!runWorker(failure))
        return false;
    if (!undoStore.saveRedoState(*volume, &error)) {
        failure = "the result could not be recorded for redo (" + error.toStdString() + ")";
        return false;
    }
    return true;
}

void UndoableProcessOperation::recoverFromFailure()
{
    // A run that stopped half way leaves no half-changed volume behind.
    if (recorded && !undoStore.loadState(workspace.getVolumeStates().undoFileName(), *volume))
        writeMessage(": the cells could not be put back as they were before the step.");
}

bool UndoableProcessOperation::undo()
{
    undoStore.loadUndoState(*volume);
    workspace.notifyUpdate();
    return true;
}

void UndoableProcessOperation::redo()
{
    undoStore.loadRedoState(*volume);
    workspace.notifyUpdate();
}

} // namespace Operations
} // namespace Core
