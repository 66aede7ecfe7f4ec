#include "Core/Operations/Planarization/planarizationoperation.h"

#include "Core/Operations/Planarization/planarization.h"

namespace Core {
namespace Operations {

PlanarizationOperation::PlanarizationOperation(Workspace &workspace)
    : ClassWideProcessOperation(workspace, "Planarization", 22, QStringLiteral("Planarization")),
      maximumHeight(0), minimumHeight(0), maximumSet(false), minimumSet(false)
{}

bool PlanarizationOperation::runWorker(std::string &failure)
{
    return runReporting(Planarization(volume.get(), maximumHeight, minimumHeight),
                        &Planarization::runPlanarization, failure);
}

} // namespace Operations
} // namespace Core
