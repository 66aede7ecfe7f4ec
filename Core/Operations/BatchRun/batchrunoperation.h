#ifndef CELVANE_CORE_OPERATIONS_BATCHRUN_BATCHRUNOPERATION_H
#define CELVANE_CORE_OPERATIONS_BATCHRUN_BATCHRUNOPERATION_H

#include "Core/Operations/objectoperation.h"
#include "Core/Operations/totalvolumeundoredohelper.h"
#include "Model/Automaton/totalvolume.h"

#include <QList>
#include <QString>

namespace Core {
namespace Operations {

/// One history entry for a whole batch run, so that one Undo takes the whole run back: the
/// volume the run started on gets its cells back, and the volumes its Create Substrate steps
/// made leave the document; Redo brings both back as the run left them. The run itself is
/// driven by its dialog; this entry only records around it.
class BatchRunOperation : public ObjectOperation
{
public:
    typedef Model::Automaton::TotalVolume::Ptr VolumePtr;

    explicit BatchRunOperation(Workspace &workspace);

    /// Before the run: records the cells of the volume the run starts on (empty when it starts
    /// without one) and which volumes the document holds. False with error when the cells
    /// could not be recorded: the run must not start then.
    bool recordStart(const VolumePtr &volume, QString *error = nullptr);
    /// After the run (stopped or not): records what it did and goes onto the history, unless
    /// it changed nothing. False with error when the result could not be recorded (nothing
    /// goes onto the history then).
    bool recordEnd(QString *error = nullptr);

    /// The entry is never started as an operation: these do nothing.
    void execute() override {}
    void cancel() override {}
    void end() override {}
    bool undo() override;
    void redo() override;

    VolumePtr getStartVolume() const { return startVolume; }
    QList<VolumePtr> getCreatedVolumes() const { return created; }

private:
    /// Puts the start volume's cells back as recorded; false when its record cannot be read.
    bool reload(bool toResult);

    TotalVolumeUndoRedoHelper undoStore;
    VolumePtr startVolume;
    quint64 startFingerprint;
    bool startChanged;
    QList<quint32> volumesBefore;
    QList<VolumePtr> created;
};

} // namespace Operations
} // namespace Core

#endif
