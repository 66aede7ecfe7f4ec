#ifndef CELVANE_CORE_OPERATIONS_OBJECTOPERATION_H
#define CELVANE_CORE_OPERATIONS_OBJECTOPERATION_H

#include "Core/Operations/operation.h"

namespace Core {
namespace Operations {

/// An operation that the history keeps: it can revert and re-apply its committed effect.
class ObjectOperation : public Operation
{
public:
    using Operation::Operation;

    /// Reverts the effect; true moves the operation to the redo stack.
    virtual bool undo() = 0;
    /// Applies the effect again.
    virtual void redo() = 0;
};

} // namespace Operations
} // namespace Core

#endif
