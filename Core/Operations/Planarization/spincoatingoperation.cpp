#include "Core/Operations/Planarization/spincoatingoperation.h"

#include "Core/Operations/Planarization/spincoating.h"

namespace Core {
namespace Operations {

SpinCoatingOperation::SpinCoatingOperation(Workspace &workspace)
    : ClassWideProcessOperation(workspace, "Spin Coating", 23, QStringLiteral("SpinCoating")),
      material(0), height(0), materialSet(false), heightSet(false)
{}

bool SpinCoatingOperation::runWorker(std::string &failure)
{
    return runReporting(SpinCoating(volume.get(), material, height), &SpinCoating::runSpinCoating,
                        failure);
}

} // namespace Operations
} // namespace Core
