#ifndef CELVANE_CORE_OPERATIONS_OPERATION_H
#define CELVANE_CORE_OPERATIONS_OPERATION_H

#include "Util/iobserver.h"

#include <QtGlobal>
#include <boost/enable_shared_from_this.hpp>

#include <string>

namespace Core {
namespace Operations {

class Workspace;

/// A user action that changes or inspects the model, stepped by execute() as its inputs
/// arrive (console lines, Enter/Return, an accepted options dialog) and ended by end() or
/// cancel(). All of it runs on the GUI thread.
class Operation : public boost::enable_shared_from_this<Operation>
{
public:
    Operation(Workspace &workspace, const std::string &name, quint32 id);
    virtual ~Operation();
    Operation(const Operation &) = delete;
    Operation &operator=(const Operation &) = delete;

    /// Runs the next step; called at start and after each awaited input.
    virtual void execute() = 0;
    /// Abandons the operation, undoes any preview and writes the cancel message.
    virtual void cancel() = 0;
    /// Commits when all inputs are present; otherwise cancels and clears itself.
    virtual void end() = 0;

    std::string getName() const { return name; }
    quint32 getId() const { return id; }

protected:
    /// The display name followed by text, written to the console.
    void writeMessage(const std::string &text);
    /// True while this operation is the workspace's running one.
    bool isCurrent() const;
    /// operationFinished() when this is the running operation. An operation ended while
    /// another one runs (its console request was taken over) must neither finish nor clear
    /// that other one: an undoable one goes into the history by itself.
    void finish();
    /// clearCurrentOperation() only when this is the running operation.
    void clearIfCurrent();

    Workspace &workspace;
    std::string name;
    quint32 id;
    Util::ObserverList observers;
};

} // namespace Operations
} // namespace Core

#endif
