#include "Core/Operations/displacementoperation.h"

#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

DisplacementOperation::DisplacementOperation(Workspace &workspace, const std::string &name,
                                             quint32 id, const std::string &prefix)
    : ObjectOperation(workspace, name, id), prefix(prefix), step(0), coordinatesReceived(false),
      pickMode(0)
{}

void DisplacementOperation::writePrefixed(const std::string &text)
{
    workspace.getConsoleInput().writeMessage(prefix + text);
}

void DisplacementOperation::endPreview()
{
    for (const ObjectPtr &object : objects) {
        object->setPreview(false);
        object->setPreviewDisplacement(Util::Vector3D(0.0, 0.0, 0.0));
    }
}

void DisplacementOperation::execute()
{
    PickState &pickState = workspace.getPickState();
    switch (step) {
    case 0: {
        const QList<ObjectPtr> snapshot = pickState.getSelection();
        if (snapshot.isEmpty()) {
            writePrefixed(selectionPrompt());
            workspace.getConsoleInput().requestEnter(this);
            workspace.getSelection().setSelectionMode(true);
            return;
        }
        for (const ObjectPtr &selected : snapshot) {
            const ObjectPtr object = prepareObject(selected);
            if (!object)
                continue;
            object->setPreview(true);
            object->setPreviewDisplacement(displacement);
            objects.append(object);
        }
        writePrefixed(": Left click or enter the distance into the console (x, y, z):");
        pickMode = 3;
        pickState.publish(this, nullptr, &basePoint, &pickMode);
        coordinatesReceived = false;
        workspace.getConsoleInput().requestCoordinates(this, &displacement, &coordinatesReceived);
        step = 1;
        workspace.getSelection().setSelectionMode(false);
        workspace.notifyUpdate();
        return;
    }
    case 1:
        if (coordinatesReceived) {
            step = 3;
            end();
            return;
        }
        // The base point came from a click: now the destination.
        workspace.getConsoleInput().resetRequest();
        pickMode = 3;
        pickState.publish(this, &sparePoint, &currentPoint, &pickMode);
        writePrefixed(": Left click on destination.");
        step = 2;
        return;
    case 2:
        displacement = currentPoint - basePoint;
        for (const ObjectPtr &object : objects)
            object->setPreviewDisplacement(displacement);
        basePoint = currentPoint;
        workspace.notifyUpdate();
        if (pickMode != 0) {
            pickMode = 3;
            pickState.publish(this, &sparePoint, &currentPoint, &pickMode);
        } else {
            step = 3;
            end();
        }
        return;
    default:
        return;
    }
}

} // namespace Operations
} // namespace Core
