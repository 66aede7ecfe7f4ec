#ifndef CELVANE_CORE_OPERATIONS_GLUE_GLUESUBSTRATEOPERATION_H
#define CELVANE_CORE_OPERATIONS_GLUE_GLUESUBSTRATEOPERATION_H

#include "Core/Operations/Glue/gluesubstrate.h"
#include "Core/Operations/objectoperation.h"
#include "Model/Automaton/totalvolume.h"
#include "Util/iobserver.h"

#include <QString>

namespace Core {
namespace Operations {

/// Bonds a top cell volume onto a base cell volume: both are replaced in the document by one
/// new volume holding the base and, above its highest occupied layer, the top. Undo puts the
/// two volumes back, redo the glued one.
class GlueSubstrateOperation : public ObjectOperation
{
public:
    typedef Model::Automaton::TotalVolume::Ptr VolumePtr;

    explicit GlueSubstrateOperation(Workspace &workspace);

    /// Takes the base, then the top volume from the selection (asking for each in turn), then
    /// opens the options dialog through the observer.
    void execute() override;
    void cancel() override;
    /// Glues once the options are given and base and top differ; otherwise cancels.
    void end() override;
    bool undo() override;
    void redo() override;

    void setObserver(const Util::ObserverPtr &o) { observer = o; }
    /// The dialog's answer, taken while it is awaited.
    void setOptions(quint32 sizeX, quint32 sizeY, quint32 sizeZ, quint32 displacementX,
                    quint32 displacementY, bool invertTop);

    VolumePtr getBaseVolume() const { return baseVolume; }
    VolumePtr getTopVolume() const { return topVolume; }
    VolumePtr getNewVolume() const { return newVolume; }
    /// The measurements the dialog's limits come from, taken when the top was selected.
    GlueSubstrate::Extent getExtent() const { return extent; }
    /// 0 selecting the volumes, 1 options awaited, 2 options given, 3 done.
    quint32 getState() const { return state; }
    /// Tasks the copy ran in.
    int getThreadCount() const { return threadCount; }
    /// Why the volumes could not be glued (empty when they were, or were not tried).
    QString getError() const { return error; }

private:
    void askFor(const char *prompt);

    VolumePtr baseVolume;
    VolumePtr topVolume;
    quint32 sizeX, sizeY, sizeZ;
    quint32 displacementX, displacementY;
    bool invertTop;
    VolumePtr newVolume;
    quint32 state;
    int threadCount;
    GlueSubstrate::Extent extent;
    Util::ObserverPtr observer;
    QString error;
};

} // namespace Operations
} // namespace Core

#endif
