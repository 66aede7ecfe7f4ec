#include "Core/Operations/createsubstrateoperation.h"

#include "Core/Operations/substratebuilder.h"
#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

CreateSubstrateOperation::CreateSubstrateOperation(Workspace &workspace)
    : ObjectOperation(workspace, "Create Substrate", 2), materialId(0), cellsX(0), cellsY(0),
      cellsZ(0), width(0), length(0), height(0), offsetX(0), offsetY(0), offsetZ(0), radius(0),
      centerX(0), centerY(0), centerZ(0), spherical(false), state(0)
{}

void CreateSubstrateOperation::setSphere(quint32 material, quint32 cx, quint32 cy, quint32 cz,
                                         const Util::Vector3D &pos, quint32 centreX,
                                         quint32 centreY, quint32 centreZ, quint32 r)
{
    materialId = material;
    cellsX = cx;
    cellsY = cy;
    cellsZ = cz;
    position = pos;
    centerX = centreX;
    centerY = centreY;
    centerZ = centreZ;
    radius = r;
    spherical = true;
    state = 1;
}

void CreateSubstrateOperation::setBox(quint32 material, quint32 cx, quint32 cy, quint32 cz,
                                      const Util::Vector3D &pos, quint32 ox, quint32 oy, quint32 oz,
                                      quint32 w, quint32 l, quint32 h)
{
    materialId = material;
    cellsX = cx;
    cellsY = cy;
    cellsZ = cz;
    position = pos;
    offsetX = ox;
    offsetY = oy;
    offsetZ = oz;
    width = w;
    length = l;
    height = h;
    spherical = false;
    state = 1;
}

void CreateSubstrateOperation::execute()
{
    if (state == 0) {
        if (observer)
            observer->update();
    } else if (state == 1) {
        state = 2;
        end();
    }
}

void CreateSubstrateOperation::cancel()
{
    clearIfCurrent();
}

void CreateSubstrateOperation::end()
{
    if (state != 2) {
        cancel();
        return;
    }
    if (volume)
        return; // already built
    SubstrateBuilder builder(materialId, cellsX, cellsY, cellsZ, position);
    if (spherical)
        builder.setSphere(centerX, centerY, centerZ, radius);
    else
        builder.setBox(offsetX, offsetY, offsetZ, width, length, height);
    Model::Automaton::TotalVolume::Ptr built = builder.build(&error);
    if (!built) {
        // Nothing enters the scene or the history; the observer shows the reason.
        writeMessage(": " + error.toStdString());
        state = 0;
        cancel();
        return;
    }
    built->getPainter().refresh();
    volume = built;
    workspace.getDocument().addObject(volume);
    workspace.getConsoleInput().writeMessage("Create Substrate: substrate created successfully.");
    finish();
}

bool CreateSubstrateOperation::undo()
{
    workspace.getDocument().removeObject(volume);
    workspace.notifyUpdate();
    return true;
}

void CreateSubstrateOperation::redo()
{
    workspace.getDocument().addObject(volume);
    workspace.notifyUpdate();
}

} // namespace Operations
} // namespace Core
