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
    Util::notifyAll(undoObservers);
    Util::notifyAll(redoObservers);
}

void OperationHistory::clear()
{
    redoStack.clear();
    undoStack.clear();
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
