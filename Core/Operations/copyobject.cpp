#include "Core/Operations/copyobject.h"

#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"

namespace Core {
namespace Operations {

CopyObject::CopyObject(Workspace &workspace)
    : DisplacementOperation(workspace, "Copy Objects", 1, "Copy")
{}

std::string CopyObject::selectionPrompt() const
{
    return ": Select the object(s) to be copied and press Enter";
}

DisplacementOperation::ObjectPtr CopyObject::prepareObject(const ObjectPtr &selected)
{
    ObjectPtr copy = selected->clone();
    // A clone starts without a picture; build it so the copy shows as soon as it is added.
    if (Model::Automaton::TotalVolume *volume =
            dynamic_cast<Model::Automaton::TotalVolume *>(copy.get()))
        volume->getPainter().refresh();
    if (!copy) {
        // Too large to copy: said once, and the other objects are still copied.
        error = QStringLiteral("An object could not be copied: not enough memory.");
        writePrefixed(": An object could not be copied: not enough memory.");
    }
    return copy;
}

void CopyObject::end()
{
    for (const ObjectPtr &object : objects) {
        object->setPreview(false);
        object->setPreviewDisplacement(Util::Vector3D(0.0, 0.0, 0.0));
        object->translate(displacement);
        workspace.getDocument().addObject(object);
    }
    workspace.getSelection().clearSelection();
    workspace.getPickState().clear();
    workspace.getConsoleInput().resetRequest();
    writePrefixed(": Object(s) copied");
    step = 3;
    finish();
    workspace.notifyUpdate();
}

void CopyObject::cancel()
{
    workspace.getPickState().clear();
    workspace.getConsoleInput().resetRequest();
    writePrefixed(": Operation canceled");
}

bool CopyObject::undo()
{
    for (const ObjectPtr &object : objects)
        workspace.getDocument().removeObject(object);
    workspace.notifyUpdate();
    return true;
}

void CopyObject::redo()
{
    for (const ObjectPtr &object : objects)
        workspace.getDocument().addObject(object);
    workspace.notifyUpdate();
}

} // namespace Operations
} // namespace Core
