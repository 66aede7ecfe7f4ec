#ifndef CELVANE_CORE_OPERATIONS_BATCHRUN_STEPEXECUTOR_H
#define CELVANE_CORE_OPERATIONS_BATCHRUN_STEPEXECUTOR_H

#include "Model/Automaton/totalvolume.h"

#include <QString>
#include <QVariantMap>

#include <functional>

namespace Core {
namespace Operations {

class Document;
class VolumeProcessRecord;

/// What the steps of one batch run work on.
struct StepContext
{
    /// The volume the steps change; a Create Substrate step replaces it.
    Model::Automaton::TotalVolume::Ptr volume;
    /// Receives the volumes Create Substrate steps build; may be null.
    Document *document = nullptr;
    /// Told which volumes' silicon lattices went stale; may be null.
    VolumeProcessRecord *records = nullptr;
    /// Saves the picture of the volume to a file (Save Image steps); false with a reason when
    /// it cannot. Unset: Save Image steps are skipped.
    std::function<bool(const Model::Automaton::TotalVolume::Ptr &volume, const QString &fileName,
                       QString *reason)>
        saveImage;
};

/// Runs one step of a process list on a volume with the worker the interactive operation of
/// its type uses, with no console, dialog or history: the same code for the batch dialog and
/// the command line. Safe to call from a worker thread.
class StepExecutor
{
public:
    enum Outcome
    {
        Ran,     ///< the step did its work
        Skipped, ///< the step could not start: missing or unusable parameters, not available
        Failed   ///< the worker started and gave up (for example out of memory)
    };

    /// Runs step type with its parameters on context.volume (a Create Substrate step builds
    /// one); reason says why when the outcome is not Ran.
    static Outcome execute(quint32 type, const QVariantMap &parameters, StepContext &context,
                           QString *reason = nullptr);
    /// False for a type that this build cannot run (unknown, or its worker not built in).
    static bool isAvailable(quint32 type);
};

} // namespace Operations
} // namespace Core

#endif
