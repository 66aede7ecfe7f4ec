#ifndef CELVANE_CORE_OPERATIONS_OPERATIONHISTORY_H
#define CELVANE_CORE_OPERATIONS_OPERATIONHISTORY_H

#include "Util/iobserver.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <string>

namespace Core {
namespace Operations {

class ObjectOperation;
class Workspace;

/// Finished undoable operations: an undo stack and a redo stack, tops at the back.
class OperationHistory
{
public:
    typedef boost::shared_ptr<ObjectOperation> OperationPtr;

    explicit OperationHistory(Workspace *workspace);

    /// Appends to the undo stack and empties the redo stack; keeps the state files within
    /// their size limit.
    void push(const OperationPtr &operation);
    /// Empties both stacks and reclaims the space of their records in the state files.
    void clear();
    /// Reverts the top of the undo stack; false when it was empty.
    bool undo();
    /// Re-applies the top of the redo stack; false when it was empty.
    bool redo();

    std::string undoTopName() const;
    std::string redoTopName() const;
    int undoCount() const { return int(undoStack.size()); }
    int redoCount() const { return int(redoStack.size()); }

    void addUndoObserver(const Util::ObserverPtr &observer);
    void addRedoObserver(const Util::ObserverPtr &observer);

private:
    /// When the state files grew past their limit: drops the oldest steps until the records
    /// still needed fit again (saying so on the console) and reclaims the space of the rest.
    void keepStateFilesBounded();

    Workspace *workspace;
    std::deque<OperationPtr> undoStack;
    std::deque<OperationPtr> redoStack;
    Util::ObserverList undoObservers;
    Util::ObserverList redoObservers;
};

} // namespace Operations
} // namespace Core

#endif
