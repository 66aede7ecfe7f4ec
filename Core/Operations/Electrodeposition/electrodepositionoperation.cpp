#include "Core/Operations/Electrodeposition/electrodepositionoperation.h"

#include "Core/Operations/Electrodeposition/electrodeposition.h"

namespace Core {
namespace Operations {

ElectrodepositionOperation::ElectrodepositionOperation(Workspace &workspace)
    : UndoableProcessOperation(workspace, "Electroplating", 15, QStringLiteral("Electroplating")),
      material(0), conductingMaterial(0), thickness(0.0f)
{}

void ElectrodepositionOperation::setThickness(float value)
{
    thickness = value;
    ++inputCount;
}

void ElectrodepositionOperation::setMaterial(quint32 value)
{
    material = value;
    ++inputCount;
}

void ElectrodepositionOperation::setConductingMaterial(quint32 value)
{
    conductingMaterial = value;
    ++inputCount;
}

bool ElectrodepositionOperation::runWorker(std::string &failure)
{
    Electrodeposition worker(volume.get(), material, conductingMaterial, thickness);
    QString error;
    if (!worker.runDeposition(&error)) {
        failure = error.toStdString();
        return false;
    }
    return true;
}

} // namespace Operations
} // namespace Core
