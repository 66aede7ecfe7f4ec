#include "Core/Operations/Glue/gluesubstrateoperation.h"

#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

using Model::Automaton::TotalVolume;

GlueSubstrateOperation::GlueSubstrateOperation(Workspace &workspace)
    : ObjectOperation(workspace, "Glue Volumes", 12), sizeX(0), sizeY(0), sizeZ(0),
      displacementX(0), displacementY(0), invertTop(false), state(0), threadCount(0)
{}

void GlueSubstrateOperation::askFor(const char *prompt)
{
    if (prompt)
        writeMessage(prompt);
    workspace.getConsoleInput().requestEnter(this);
    workspace.getSelection().setSelectionMode(true);
}

void GlueSubstrateOperation::execute()
{
    if (state == 2) {
        end();
        return;
    }
    if (state != 0)
        return;
    QList<VolumePtr> picked;
    for (const boost::shared_ptr<Model::Object> &object : workspace.getPickState().getSelection()) {
        const VolumePtr volume = boost::dynamic_pointer_cast<TotalVolume>(object);
        if (volume)
            picked.append(volume);
    }
    if (!baseVolume) {
        if (picked.isEmpty()) {
            askFor(": select the base cell volume and press Enter/Return.");
            return;
        }
        baseVolume = picked.takeFirst();
        workspace.getSelection().clearSelection();
        writeMessage(": base cell volume selected. Select top cell volume and press enter");
        // A second volume selected beforehand is the top.
        picked.removeAll(baseVolume);
        if (picked.isEmpty()) {
            askFor(nullptr);
            return;
        }
    }
    const bool onlyBase = picked.removeAll(baseVolume) > 0 && picked.isEmpty();
    if (picked.isEmpty()) {
        workspace.getSelection().clearSelection();
        askFor(onlyBase ? ": a cell volume cannot be glued onto itself; select another cell "
                          "volume as the top and press Enter/Return."
                        : ": select the top cell volume and press Enter/Return.");
        return;
    }
    topVolume = picked.first();
    workspace.getSelection().clearSelection();
    workspace.getSelection().setSelectionMode(false);
    workspace.notifyUpdate();
    writeMessage(": top cell volume selected.");
    GlueSubstrate(baseVolume.get(), topVolume.get()).measure(extent);
    state = 1;
    // Keeps the observer alive while its dialog runs.
    const Util::ObserverPtr o = observer;
    if (o)
        o->update();
}

void GlueSubstrateOperation::setOptions(quint32 x, quint32 y, quint32 z, quint32 dx, quint32 dy,
                                        bool invert)
{
    if (state != 1)
        return;
    sizeX = x;
    sizeY = y;
    sizeZ = z;
    displacementX = dx;
    displacementY = dy;
    invertTop = invert;
    state = 2;
}

void GlueSubstrateOperation::cancel()
{
    if (state == 3)
        return;
    writeMessage(": Operation canceled.");
    workspace.getConsoleInput().resetRequest();
    clearIfCurrent();
}

void GlueSubstrateOperation::end()
{
    if (state != 2 || !baseVolume || !topVolume || baseVolume == topVolume) {
        cancel();
        return;
    }
    error.clear();
    GlueSubstrate glue(baseVolume.get(), topVolume.get());
    glue.setSize(sizeX, sizeY, sizeZ);
    glue.setDisplacement(displacementX, displacementY);
    glue.setInvertTop(invertTop);
    const VolumePtr glued = glue.run(&error);
    threadCount = glue.getTaskCount();
    if (!glued) {
        // Both volumes stay as they were; the observer shows the reason too.
        writeMessage(": " + error.toStdString());
        state = 1;
        cancel();
        return;
    }
    glued->getPainter().refresh();
    newVolume = glued;
    state = 3;
    Document &document = workspace.getDocument();
    document.addObject(newVolume);
    document.removeObject(baseVolume);
    document.removeObject(topVolume);
    workspace.getConsoleInput().resetRequest();
    writeMessage(": volumes glued.");
    finish();
    workspace.notifyUpdate();
}

bool GlueSubstrateOperation::undo()
{
    Document &document = workspace.getDocument();
    document.removeObject(newVolume);
    document.addObject(baseVolume);
    document.addObject(topVolume);
    workspace.notifyUpdate();
    return true;
}

void GlueSubstrateOperation::redo()
{
    Document &document = workspace.getDocument();
    document.addObject(newVolume);
    document.removeObject(baseVolume);
    document.removeObject(topVolume);
    workspace.notifyUpdate();
}

} // namespace Operations
} // namespace Core
