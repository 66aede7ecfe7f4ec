#include "Core/Operations/Isotropic/isotropicfilmetchingoperation.h"

#include "Core/Operations/Isotropic/isotropicfilmetching.h"

namespace Core {
namespace Operations {

IsotropicFilmEtchingOperation::IsotropicFilmEtchingOperation(Workspace &workspace)
    : FilmProcessOperation(workspace, "Isotropic Etching", 14, QStringLiteral("IsotropicEtching"),
                           3)
{}

bool IsotropicFilmEtchingOperation::runWorker(std::string &failure)
{
    return runReporting(IsotropicFilmEtching(volume.get(), material, amount),
                        &IsotropicFilmEtching::runEtching, failure);
}

} // namespace Operations
} // namespace Core
