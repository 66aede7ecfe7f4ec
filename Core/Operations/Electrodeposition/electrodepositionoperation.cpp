#include "Core/Operations/Electrodeposition/electrodepositionoperation.h"

#include "Core/Operations/Electrodeposition/electrodeposition.h"

namespace Core {
namespace Operations {

ElectrodepositionOperation::ElectrodepositionOperation(Workspace &workspace)
    : FilmProcessOperation(workspace, "Electroplating", 15, QStringLiteral("Electroplating"), 4),
      conductingMaterial(0)
{}

bool ElectrodepositionOperation::runWorker(std::string &failure)
{
    return runReporting(Electrodeposition(volume.get(), material, conductingMaterial, amount),
                        &Electrodeposition::runDeposition, failure);
}

} // namespace Operations
} // namespace Core
