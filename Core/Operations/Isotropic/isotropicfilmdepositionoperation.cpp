#include "Core/Operations/Isotropic/isotropicfilmdepositionoperation.h"

#include "Core/Operations/Isotropic/isotropicfilmdeposition.h"

namespace Core {
namespace Operations {

IsotropicFilmDepositionOperation::IsotropicFilmDepositionOperation(Workspace &workspace)
    : FilmProcessOperation(workspace, "Isotropic Deposition", 13,
                           QStringLiteral("IsotropicDeposition"), 3)
{}

bool IsotropicFilmDepositionOperation::runWorker(std::string &failure)
{
    return runReporting(IsotropicFilmDeposition(volume.get(), material, amount),
                        &IsotropicFilmDeposition::runDeposition, failure);
}

} // namespace Operations
} // namespace Core
