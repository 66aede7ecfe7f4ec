#include "Core/Operations/Doping/dopingoperation.h"

#include "Core/Operations/Doping/simpledoping.h"

namespace Core {
namespace Operations {

DopingOperation::DopingOperation(Workspace &workspace)
    : UndoableProcessOperation(workspace, "Doping", 17, QStringLiteral("Doping")), material(0),
      depth(0.0f), materialSet(false), depthSet(false)
{}

void DopingOperation::setDepth(float value)
{
    depth = value;
    depthSet = true;
}

void DopingOperation::setMaterial(quint32 value)
{
    material = value;
    materialSet = true;
}

bool DopingOperation::runWorker(std::string &failure)
{
    SimpleDoping worker(volume.get(), material, depth);
    QString error;
    if (!worker.runDoping(&error)) {
        failure = error.toStdString();
        return false;
    }
    return true;
}

} // namespace Operations
} // namespace Core
