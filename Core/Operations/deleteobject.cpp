#include "Core/Operations/deleteobject.h"

#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

DeleteObject::DeleteObject(Workspace &workspace)
    : ObjectOperation(workspace, "Delete Objects", 4), step(0)
{}

void DeleteObject::execute()
{
    if (step != 0)
        return;
    const QList<ObjectPtr> snapshot = workspace.getPickState().getSelection();
    if (!snapshot.isEmpty()) {
        objects = snapshot;
        workspace.getSelection().clearSelection();
        workspace.getSelection().setSelectionMode(false);
        step = 1;
        end();
        return;
    }
    workspace.getConsoleInput().writeMessage(
        "Delete: Select the objects to be deleted and press Return/Enter");
    workspace.getConsoleInput().requestEnter(this);
    workspace.getSelection().setSelectionMode(true);
}

void DeleteObject::end()
{
    if (step == 0) {
        workspace.notifyUpdate();
        workspace.getConsoleInput().resetRequest();
        workspace.getConsoleInput().writeMessage(
            "Delete: Operation canceled, no selected objects.");
        clearIfCurrent();
        return;
    }
    for (const ObjectPtr &object : objects)
        workspace.getDocument().removeObject(object);
    workspace.notifyUpdate();
    workspace.getConsoleInput().writeMessage("Delete: objects deleted.");
    finish();
}

void DeleteObject::cancel()
{
    workspace.notifyUpdate();
    workspace.getConsoleInput().resetRequest();
    workspace.getConsoleInput().writeMessage("Delete: Operation canceled.");
    clearIfCurrent();
}

bool DeleteObject::undo()
{
    for (const ObjectPtr &object : objects)
        workspace.getDocument().addObject(object);
    workspace.notifyUpdate();
    return true;
}

void DeleteObject::redo()
{
    for (const ObjectPtr &object : objects)
        workspace.getDocument().removeObject(object);
    workspace.notifyUpdate();
}

} // namespace Operations
} // namespace Core
