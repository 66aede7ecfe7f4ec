#include "Core/Operations/BatchRun/batchrunoperation.h"

#include "Core/Operations/cellchecksum.h"
#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

BatchRunOperation::BatchRunOperation(Workspace &workspace)
    : ObjectOperation(workspace, "Batch Run", 24),
      undoStore(QStringLiteral("BatchRun"), &workspace), startFingerprint(0), startChanged(false)
{}

bool BatchRunOperation::recordStart(const VolumePtr &volume, QString *error)
{
    startVolume = volume;
    volumesBefore.clear();
    for (const Document::ObjectPtr &object : workspace.getDocument().getObjects())
        if (boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object))
            volumesBefore.append(object->getId());
    if (!volume)
        return true;
    startFingerprint = CellChecksum::ofMaterials(*volume);
    return undoStore.saveUndoState(*volume, error);
}

bool BatchRunOperation::recordEnd(QString *error)
{
    created.clear();
    for (const Document::ObjectPtr &object : workspace.getDocument().getObjects()) {
        const VolumePtr volume = boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
        if (volume && !volumesBefore.contains(volume->getId()))
            created.append(volume);
    }
    startChanged = startVolume && CellChecksum::ofMaterials(*startVolume) != startFingerprint;
    if (!startChanged && created.isEmpty())
        return true;
    if (startChanged && !undoStore.saveRedoState(*startVolume, error))
        return false;
    workspace.getHistory().push(boost::static_pointer_cast<ObjectOperation>(shared_from_this()));
    return true;
}

bool BatchRunOperation::reload(bool toResult)
{
    if (!startChanged)
        return true;
    return toResult ? undoStore.loadRedoState(*startVolume) : undoStore.loadUndoState(*startVolume);
}

bool BatchRunOperation::undo()
{
    // The cells first: without them the run stays done, rather than seem undone by halves.
    if (!reload(false)) {
        writeMessage(": the cells from before the run could not be read; it was not undone.");
        return false;
    }
    for (const VolumePtr &volume : created)
        workspace.getDocument().removeObject(volume);
    workspace.notifyUpdate();
    return true;
}

void BatchRunOperation::redo()
{
    for (const VolumePtr &volume : created)
        workspace.getDocument().addObject(volume);
    if (!reload(true))
        writeMessage(": the cells after the run could not be read; it was not redone.");
    workspace.notifyUpdate();
}

} // namespace Operations
} // namespace Core
