#include "Core/Operations/MooreNeighborhood/mooreneighborhoodoperation.h"

#include <limits>

namespace Core {
namespace Operations {

MooreNeighborhoodOperation::MooreNeighborhoodOperation(Workspace &workspace, quint32 id)
    // Both Moore operations carry one display name and one record tag.
    : UndoableProcessOperation(workspace, "Moore film deposition", id,
                               QStringLiteral("MooreFilmDep")),
      material(0), steps(0), materialSet(false), stepsSet(false)
{}

qint32 MooreNeighborhoodOperation::stepCount() const
{
    return qint32(qMin<quint32>(steps, quint32(std::numeric_limits<qint32>::max())));
}

} // namespace Operations
} // namespace Core
