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

void DisplacementOperation::askForDistance()
{
    writePrefixed(": Left click or enter the distance into the console (x, y, z):");
    pickMode = 3;
    workspace.getPickState().publish(this, nullptr, &basePoint, &pickMode);
    coordinatesReceived = false;
    workspace.getConsoleInput().requestCoordinates(this, &displacement, &coordinatesReceived);
    step = 1;
}

bool DisplacementOperation::acceptDistance()
{
    bool inRange = true;
    for (const ObjectPtr &object : objects) {
        Util::Vector3D lower, upper;
        if (object->getBounds(lower, upper))
            inRange = inRange && Model::Object::withinLimit(lower + displacement) &&
                      Model::Object::withinLimit(upper + displacement);
    }
    if (inRange)
        return true;
    // Refused before anything moves: such an object could neither be drawn nor saved.
    writePrefixed(QStringLiteral(": The distance would take the object(s) beyond %1 units from "
                                 "the origin.")
                      .arg(Model::Object::coordinateLimit, 0, 'f', 0)
                      .toStdString());
    displacement = Util::Vector3D(0.0, 0.0, 0.0);
    for (const ObjectPtr &object : objects)
        object->setPreviewDisplacement(displacement);
    askForDistance();
    workspace.notifyUpdate();
    return false;
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
        if (objects.isEmpty()) {
            // Not one copy could be made (the reason is written): nothing is left to place, and
            // going on would report copies that do not exist.
            workspace.getSelection().setSelectionMode(false);
            cancel();
            clearIfCurrent();
            return;
        }
        askForDistance();
        workspace.getSelection().setSelectionMode(false);
        workspace.notifyUpdate();
        return;
    }
    case 1:
        if (coordinatesReceived) {
            if (!acceptDistance())
                return;
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
        } else if (acceptDistance()) {
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
