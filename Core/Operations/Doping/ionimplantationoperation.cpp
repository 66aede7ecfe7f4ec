#include "Core/Operations/Doping/ionimplantationoperation.h"

#include "Core/Operations/Doping/ionimplantation.h"

namespace Core {
namespace Operations {

IonImplantationOperation::IonImplantationOperation(Workspace &workspace)
    : ClassWideProcessOperation(workspace, "Ion Implantation", 3,
                                QStringLiteral("IonImplantation")),
      material(0), implantationDepth(0.0f), annealingDistance(0.0f), materialSet(false),
      implantationDepthSet(false), annealingDistanceSet(false)
{}

bool IonImplantationOperation::runWorker(std::string &failure)
{
    return runReporting(
        IonImplantation(volume.get(), material, implantationDepth, annealingDistance),
        &IonImplantation::runImplantation, failure);
}

} // namespace Operations
} // namespace Core
