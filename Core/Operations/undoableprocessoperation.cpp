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
    // Without its record the step stays done, and stays undoable, rather than seem undone.
    const bool loaded = undoStore.loadUndoState(*volume);
    if (!loaded)
        writeMessage(": the cells from before the step could not be read; it was not undone.");
    workspace.notifyUpdate();
    return loaded;
}

void UndoableProcessOperation::redo()
{
    if (!undoStore.loadRedoState(*volume))
        writeMessage(": the cells after the step could not be read; it was not redone.");
    workspace.notifyUpdate();
}

} // namespace Operations
} // namespace Core
