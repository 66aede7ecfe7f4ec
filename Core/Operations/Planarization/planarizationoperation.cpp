#include "Core/Operations/Planarization/planarizationoperation.h"

#include "Core/Operations/Planarization/planarization.h"

namespace Core {
namespace Operations {

PlanarizationOperation::PlanarizationOperation(Workspace &workspace)
    : ClassWideProcessOperation(workspace, "Planarization", 22), maximumHeight(0), minimumHeight(0),
      maximumSet(false), minimumSet(false)
{}

bool PlanarizationOperation::runProcess(std::string &failure)
{
    return runReporting(Planarization(volume.get(), maximumHeight, minimumHeight),
                        &Planarization::runPlanarization, failure);
}

} // namespace Operations
} // namespace Core
