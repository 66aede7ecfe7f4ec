#include "Core/Operations/SiEtching/continouswetetchoperation.h"

#include "Core/Operations/SiEtching/continuoswetetching.h"

namespace Core {
namespace Operations {

ContinousWetEtchOperation::ContinousWetEtchOperation(Workspace &workspace)
    : WetEtchOperation(workspace, "Continuous Wet Etch", 29, QStringLiteral("ContinuousWetEtch"))
{}

bool ContinousWetEtchOperation::runEngine(std::string &failure)
{
    return runReporting(ContinuosWetEtching(volume.get(), depth), &ContinuosWetEtching::runEtching,
                        failure);
}

} // namespace Operations
} // namespace Core
