#include "Core/Operations/workspace.h"

#include "Core/Operations/objectoperation.h"

namespace Core {
namespace Operations {

Workspace::Workspace() : history(this), selection(&document, &pickState) {}

Workspace::~Workspace()
{
    // Operations on the stacks hold volumes; release them before the state files go.
    currentOperation.reset();
    retiredOperation.reset();
    consoleInput.resetRequest();
}

bool Workspace::startOperation(quint32 id)
{
    OperationPtr next;
    if (operationFactory)
        next = operationFactory->createOperation(id);
    if (!next)
        return false;
    if (currentOperation)
        currentOperation->cancel();
    retiredOperation = currentOperation;
    currentOperation = next;
    next->execute();
    return true;
}

void Workspace::cancelCurrentOperation()
{
    // Held while cancel runs: an operation that clears itself must not be destroyed
    // in the middle of its own member function.
    OperationPtr running = currentOperation;
    if (running)
        running->cancel();
}

void Workspace::clearCurrentOperation()
{
    if (currentOperation)
        retiredOperation = currentOperation;
    currentOperation.reset();
    selection.clearSelection();
    notifyUpdate();
}

void Workspace::operationFinished()
{
    const boost::shared_ptr<ObjectOperation> undoable =
        boost::dynamic_pointer_cast<ObjectOperation>(currentOperation);
    if (undoable)
        history.push(undoable);
    clearCurrentOperation();
}

void Workspace::notifyUpdate()
{
    Util::notifyAll(updateObservers);
}

void Workspace::runStep(const std::string &name, Util::Progress &progress, bool cancellable,
                        const std::function<void()> &work)
{
    if (stepRunner) {
        stepRunner(name, progress, cancellable, work);
        return;
    }
    Util::Progress::Scope scope(&progress);
    work();
}

void Workspace::setOperationFactory(const boost::shared_ptr<IOperationFactory> &factory)
{
    operationFactory = factory;
}

void Workspace::addUpdateObserver(const Util::ObserverPtr &observer)
{
    if (observer)
        updateObservers.append(observer);
}

} // namespace Operations
} // namespace Core
