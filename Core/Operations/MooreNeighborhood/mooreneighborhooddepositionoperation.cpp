#include "Core/Operations/MooreNeighborhood/mooreneighborhooddepositionoperation.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhooddeposition.h"

namespace Core {
namespace Operations {

MooreNeighborhoodDepositionOperation::MooreNeighborhoodDepositionOperation(Workspace &workspace)
    : MooreNeighborhoodOperation(workspace, 18)
{}

bool MooreNeighborhoodDepositionOperation::runWorker(std::string &failure)
{
    return runReporting(MooreNeighborhoodDeposition(volume.get(), material, stepCount()),
                        &MooreNeighborhoodDeposition::runDeposition, failure);
}

} // namespace Operations
} // namespace Core
