#ifndef CELVANE_CORE_OPERATIONS_SIETCHING_WETETCHOPERATION_H
#define CELVANE_CORE_OPERATIONS_SIETCHING_WETETCHOPERATION_H

#include "Core/Operations/undoableprocessoperation.h"

#include <QElapsedTimer>

namespace Core {
namespace Operations {

/// The flow the atomistic wet etchings of silicon share: the volume is the first one selected
/// (or the scene's only object), one depth is asked for, the silicon crystal is rebuilt only
/// when a step changed the volume's silicon since the last etch, and the etch is timed in the
/// debug log. The etchings differ in their engine (runEngine).
class WetEtchOperation : public UndoableProcessOperation
{
public:
    /// The accepted options: the etch depth in cell units.
    void setDepth(double value) { flagInput(depth, optionsAccepted, value); }
    double getDepth() const { return depth; }
    bool areOptionsAccepted() const { return optionsAccepted; }

    bool undo() override;
    void redo() override;

protected:
    /// key: the tag of the operation's undo records.
    WetEtchOperation(Workspace &workspace, const std::string &name, quint32 id, const QString &key);

    /// Runs the etch on the volume, whose crystal is up to date.
    virtual bool runEngine(std::string &failure) = 0;

    /// The first cell volume selected; with nothing selected, the scene's only object when that
    /// is a cell volume.
    VolumePtr chooseVolume() const override;
    bool inputsComplete() const override { return optionsAccepted; }
    bool runWorker(std::string &failure) override;
    void afterRun() override;
    void recoverFromFailure() override;
    void refreshPicture() override;

    double depth;

private:
    /// After undo or redo: the crystal, if on view, is rebuilt to fit the cells.
    void fitShownLattice();

    bool optionsAccepted;
    QElapsedTimer timer;
};

} // namespace Operations
} // namespace Core

#endif
