#ifndef CELVANE_CORE_OPERATIONS_CLASSWIDEPROCESSOPERATION_H
#define CELVANE_CORE_OPERATIONS_CLASSWIDEPROCESSOPERATION_H

#include "Core/Operations/undoableprocessoperation.h"

namespace Core {
namespace Operations {

/// A process operation whose options observer is installed once for its class Op rather than
/// per operation: every operation of the class takes the observer installed when it is made.
template <class Op> class ClassWideProcessOperation : public UndoableProcessOperation
{
public:
    /// The observer every operation of this class notifies.
    static void setClassObserver(const Util::ObserverPtr &o) { ClassWideObserver<Op>::get() = o; }

protected:
    /// key: the tag of the operation's undo records.
    ClassWideProcessOperation(Workspace &workspace, const std::string &name, quint32 id,
                              const QString &key)
        : UndoableProcessOperation(workspace, name, id, key)
    {
        observer = ClassWideObserver<Op>::get();
    }
};

} // namespace Operations
} // namespace Core

#endif
