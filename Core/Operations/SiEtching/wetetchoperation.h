#ifndef CELVANE_CORE_OPERATIONS_SIETCHING_WETETCHOPERATION_H
#define CELVANE_CORE_OPERATIONS_SIETCHING_WETETCHOPERATION_H

#include "Core/Operations/processoperation.h"
#include "Core/Operations/totalvolumeundoredohelper.h"

#include <QElapsedTimer>

namespace Core {
namespace Operations {

/// The flow the atomistic wet etchings of silicon share: the volume is the first one selected
/// (or the scene's only object), one depth is asked for, the silicon crystal is rebuilt only
/// when a step changed the volume's silicon since the last etch, and the etch is timed in the
/// debug log. Not undoable, but a cancelled or failed etch puts the cells back from a record
/// taken before it ran. The etchings differ in their engine (runEngine).
class WetEtchOperation : public ProcessOperation<Operation>
{
public:
    /// The accepted options: the etch depth in cell units.
    void setDepth(double value) { flagInput(depth, optionsAccepted, value); }
    double getDepth() const { return depth; }
    bool areOptionsAccepted() const { return optionsAccepted; }

protected:
    WetEtchOperation(Workspace &workspace, const std::string &name, quint32 id);

    /// Runs the etch on the volume, whose crystal is up to date.
    virtual bool runEngine(std::string &failure) = 0;

    /// The first cell volume selected; with nothing selected, the scene's only object when that
    /// is a cell volume.
    VolumePtr chooseVolume() const override;
    bool inputsComplete() const override { return optionsAccepted; }
    bool runProcess(std::string &failure) override;
    void afterRun() override;
    void refreshPicture() override;
    void recoverFromFailure() override;
    bool isCancellable() const override { return true; }

    double depth;

private:
    bool optionsAccepted;
    QElapsedTimer timer;
    /// The cells as they were before the run.
    TotalVolumeUndoRedoHelper beforeRun;
    bool recorded;
};

} // namespace Operations
} // namespace Core

#endif
