#ifndef CELVANE_CORE_OPERATIONS_UNDOABLEPROCESSOPERATION_H
#define CELVANE_CORE_OPERATIONS_UNDOABLEPROCESSOPERATION_H

#include "Core/Operations/processoperation.h"
#include "Core/Operations/totalvolumeundoredohelper.h"

namespace Core {
namespace Operations {

/// A process operation that the history can revert: the cells are recorded before the run
/// and after it, and undo and redo reload those records.
class UndoableProcessOperation : public ProcessOperation<ObjectOperation>
{
public:
    bool undo() override;
    void redo() override;

protected:
    /// key: the tag of the operation's records ("IsotropicDeposition", ...).
    UndoableProcessOperation(Workspace &workspace, const std::string &name, quint32 id,
                             const QString &key);

    /// Records the cells, runs runWorker(), records the result.
    bool runProcess(std::string &failure) final;
    /// The worker itself.
    virtual bool runWorker(std::string &failure) = 0;
    void recoverFromFailure() override;
    /// The record taken before the run puts the cells back.
    bool isCancellable() const override { return true; }

    TotalVolumeUndoRedoHelper undoStore;

private:
    bool recorded;
};

} // namespace Operations
} // namespace Core

#endif
