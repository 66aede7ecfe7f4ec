#include "Core/Operations/Anisotropic/anisotropicfilmdepositionoperation.h"

#include "Core/Operations/Anisotropic/anisotropicfilmdeposition.h"

namespace Core {
namespace Operations {

AnisotropicFilmDepositionOperation::AnisotropicFilmDepositionOperation(Workspace &workspace)
    : FilmProcessOperation(workspace, "Isotropic Deposition", 13,
                           QStringLiteral("IsotropicDeposition"), 3),
      ratio(0.5f), depositOn(AnisotropicFilmDeposition::OnTop)
{}

bool AnisotropicFilmDepositionOperation::runWorker(std::string &failure)
{
    return runReporting(AnisotropicFilmDeposition(volume.get(), material, amount, ratio, depositOn),
                        &AnisotropicFilmDeposition::runDeposition, failure);
}

} // namespace Operations
} // namespace Core
