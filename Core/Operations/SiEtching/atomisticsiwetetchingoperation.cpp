#include "Core/Operations/SiEtching/atomisticsiwetetchingoperation.h"

#include "Core/Operations/SiEtching/atomicstructuresimplesiwetetch.h"

namespace Core {
namespace Operations {

AtomisticSiWetEtchingOperation::AtomisticSiWetEtchingOperation(Workspace &workspace)
    : WetEtchOperation(workspace, "BCA Wet Etch", 28, QStringLiteral("BCAWetEtch"))
{}

bool AtomisticSiWetEtchingOperation::runEngine(std::string &failure)
{
    return runReporting(AtomicStructureSimpleSiWetEtch(volume.get(), depth),
                        &AtomicStructureSimpleSiWetEtch::runEtching, failure);
}

} // namespace Operations
} // namespace Core
