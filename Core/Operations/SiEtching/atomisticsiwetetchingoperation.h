#ifndef CELVANE_CORE_OPERATIONS_SIETCHING_ATOMISTICSIWETETCHINGOPERATION_H
#define CELVANE_CORE_OPERATIONS_SIETCHING_ATOMISTICSIWETETCHINGOPERATION_H

#include "Core/Operations/processoperation.h"

#include <QElapsedTimer>

namespace Core {
namespace Operations {

/// Anisotropic wet etching of the silicon of one cell volume, atom by atom. The silicon crystal
/// is rebuilt only when a step changed the volume's silicon since the last etch. Not undoable.
class AtomisticSiWetEtchingOperation : public ProcessOperation<Operation>
{
public:
    explicit AtomisticSiWetEtchingOperation(Workspace &workspace);

    /// The accepted options: the etch depth in cell units.
    void setDepth(double value) { flagInput(depth, optionsAccepted, value); }
    double getDepth() const { return depth; }
    bool areOptionsAccepted() const { return optionsAccepted; }

protected:
    /// The first cell volume selected; with nothing selected, the scene's only object when that
    /// is a cell volume.
    VolumePtr chooseVolume() const override;
    bool inputsComplete() const override { return optionsAccepted; }
    bool runProcess(std::string &failure) override;
    void afterRun() override;
    void refreshPicture() override;

private:
    double depth;
    bool optionsAccepted;
    QElapsedTimer timer;
};

} // namespace Operations
} // namespace Core

#endif
