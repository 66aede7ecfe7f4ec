#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetchingoperation.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetching.h"

namespace Core {
namespace Operations {

MooreNeighborhoodEtchingOperation::MooreNeighborhoodEtchingOperation(Workspace &workspace)
    : MooreNeighborhoodOperation(workspace, 19)
{}

bool MooreNeighborhoodEtchingOperation::runWorker(std::string &failure)
{
    return runReporting(MooreNeighborhoodEtching(volume.get(), material, stepCount()),
                        &MooreNeighborhoodEtching::runEtching, failure);
}

} // namespace Operations
} // namespace Core
