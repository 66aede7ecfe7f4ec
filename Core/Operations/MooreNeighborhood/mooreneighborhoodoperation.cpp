#include "Core/Operations/MooreNeighborhood/mooreneighborhoodoperation.h"

namespace Core {
namespace Operations {

MooreNeighborhoodOperation::MooreNeighborhoodOperation(Workspace &workspace, quint32 id)
    // Both Moore operations carry one display name and one record tag.
    : UndoableProcessOperation(workspace, "Moore film deposition", id,
                               QStringLiteral("MooreFilmDep")),
      material(0), steps(0), materialSet(false), stepsSet(false)
{}

void MooreNeighborhoodOperation::setMaterial(quint32 value)
{
    material = value;
    materialSet = true;
}

void MooreNeighborhoodOperation::setSteps(quint32 value)
{
    steps = value;
    stepsSet = true;
}

} // namespace Operations
} // namespace Core
