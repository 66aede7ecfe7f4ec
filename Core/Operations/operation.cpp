#include "Core/Operations/operation.h"

#include "Core/Operations/objectoperation.h"
#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

Operation::Operation(Workspace &workspace, const std::string &name, quint32 id)
    : workspace(workspace), name(name), id(id)
{}

Operation::~Operation() = default;

void Operation::writeMessage(const std::string &text)
{
    workspace.getConsoleInput().writeMessage(name + text);
}

bool Operation::isCurrent() const
{
    return workspace.getCurrentOperation().get() == this;
}

void Operation::finish()
{
    if (isCurrent()) {
        workspace.operationFinished();
        return;
    }
    const boost::shared_ptr<Operation> self = weak_from_this().lock();
    const boost::shared_ptr<ObjectOperation> undoable =
        boost::dynamic_pointer_cast<ObjectOperation>(self);
    if (undoable)
        workspace.getHistory().push(undoable);
}

void Operation::clearIfCurrent()
{
    if (isCurrent())
        workspace.clearCurrentOperation();
}

} // namespace Operations
} // namespace Core
