#include "Core/Operations/Doping/dopingoperation.h"

#include "Core/Operations/Doping/simpledoping.h"

namespace Core {
namespace Operations {

DopingOperation::DopingOperation(Workspace &workspace)
    : UndoableProcessOperation(workspace, "Doping", 17, QStringLiteral("Doping")), material(0),
      depth(0.0f), materialSet(false), depthSet(false)
{}

bool DopingOperation::runWorker(std::string &failure)
{
    return runReporting(SimpleDoping(volume.get(), material, depth), &SimpleDoping::runDoping,
                        failure);
}

} // namespace Operations
} // namespace Core
