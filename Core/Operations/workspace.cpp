#include "Core/Operations/workspace.h"

#include "Core/Operations/objectoperation.h"
#include "Model/Automaton/totalvolume.h"

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

void Workspace::markLatticeStale(Model::Automaton::TotalVolume &volume)
{
    volumeRecords.setLatticeStale(volume.getId(), true);
    refreshShownLattice(volume);
}

bool Workspace::refreshShownLattice(Model::Automaton::TotalVolume &volume, QString *error)
{
    const Model::Automaton::TotalVolumePainter &painter = volume.getPainter();
    const bool shown = painter.getRenderSiAtoms() || painter.getRenderSiAtomLinks() ||
                       painter.getRenderSiUnitCells() || painter.getRenderSiUnitCellOutlines();
    if (!shown || (volume.getSiLattice() && !volumeRecords.isLatticeStale(volume.getId())))
        return false;
    // A crystal that fails to build is dropped: better no atoms than atoms of another shape.
    if (!volume.rebuildSiLattice(error))
        return false;
    volumeRecords.setLatticeStale(volume.getId(), false);
    return true;
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
