#ifndef CELVANE_CORE_OPERATIONS_CUTCELLVOLUMEOPERATION_H
#define CELVANE_CORE_OPERATIONS_CUTCELLVOLUMEOPERATION_H

#include "Core/Operations/operation.h"
#include "Model/Automaton/totalvolume.h"
#include "Util/iobserver.h"

namespace Core {
namespace Operations {

/// Limits the part of a cell volume that is drawn, so its inside can be seen. The limits
/// belong to the volume's painter and are not part of the history.
class CutCellVolumeOperation : public Operation
{
public:
    explicit CutCellVolumeOperation(Workspace &workspace);

    /// Takes the first selected cell volume (or asks for one) and opens the cut dialog.
    void execute() override;
    void cancel() override;
    /// Commits the limits last applied; without them cancels.
    void end() override;

    void setObserver(const Util::ObserverPtr &o) { observer = o; }

    /// Gives the painter new cut limits (once a volume is taken). With refresh the picture is
    /// rebuilt and repainted, unless it already shows exactly these limits.
    void applyLimits(const quint32 lower[3], const quint32 upper[3], bool refresh);

    Model::Automaton::TotalVolume::Ptr getVolume() const { return volume; }
    /// 0 waiting for a volume, 1 volume taken, 2 limits given.
    quint32 getState() const { return state; }

private:
    /// True when the painter's faces were built with its present limits.
    bool pictureCurrent() const;

    Model::Automaton::TotalVolume::Ptr volume;
    quint32 state;
    /// The limits the painter's faces were last built with.
    quint32 shownLower[3];
    quint32 shownUpper[3];
    Util::ObserverPtr observer;
};

} // namespace Operations
} // namespace Core

#endif
