#include "Core/Operations/moveobject.h"

#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

MoveObject::MoveObject(Workspace &workspace)
    : DisplacementOperation(workspace, "Move Objects", 7, "Move")
{}

std::string MoveObject::selectionPrompt() const
{
    return ": Select the object(s) to be moved and press Enter/Return";
}

void MoveObject::end()
{
    if (step != 3) {
        cancel();
        clearIfCurrent();
        return;
    }
    for (const ObjectPtr &object : objects) {
        object->setPreview(false);
        object->setPreviewDisplacement(Util::Vector3D(0.0, 0.0, 0.0));
        object->translate(displacement);
    }
    workspace.getSelection().clearSelection();
    workspace.getPickState().clear();
    workspace.getConsoleInput().resetRequest();
    writePrefixed(": Object(s) moved");
    finish();
    workspace.notifyUpdate();
}

void MoveObject::cancel()
{
    if (step == 3)
        return;
    workspace.getPickState().clear();
    workspace.getConsoleInput().resetRequest();
    endPreview();
    writePrefixed(": Operation canceled");
    workspace.notifyUpdate();
}

bool MoveObject::undo()
{
    for (const ObjectPtr &object : objects)
        object->translate(-1.0 * displacement);
    workspace.notifyUpdate();
    return true;
}

void MoveObject::redo()
{
    for (const ObjectPtr &object : objects)
        object->translate(displacement);
    workspace.notifyUpdate();
}

} // namespace Operations
} // namespace Core
