#include "Core/Operations/Anisotropic/anisotropicfilmdepositionoperation.h"

#include "Core/Operations/Anisotropic/anisotropicfilmdeposition.h"

namespace Core {
namespace Operations {

AnisotropicFilmDepositionOperation::AnisotropicFilmDepositionOperation(Workspace &workspace)
    : UndoableProcessOperation(workspace, "Isotropic Deposition", 13,
                               QStringLiteral("IsotropicDeposition")),
      material(0), thickness(0.0f), ratio(0.5f), depositOn(AnisotropicFilmDeposition::OnTop)
{}

void AnisotropicFilmDepositionOperation::setThickness(float value)
{
    thickness = value;
    ++inputCount;
}

void AnisotropicFilmDepositionOperation::setMaterial(quint32 value)
{
    material = value;
    ++inputCount;
}

void AnisotropicFilmDepositionOperation::setRatio(float value)
{
    ratio = value;
    ++inputCount;
}

void AnisotropicFilmDepositionOperation::setDepositOn(quint32 value)
{
    depositOn = value;
    ++inputCount;
}

bool AnisotropicFilmDepositionOperation::runWorker(std::string &failure)
{
    AnisotropicFilmDeposition worker(volume.get(), material, thickness, ratio, depositOn);
    QString error;
    if (!worker.runDeposition(&error)) {
        failure = error.toStdString();
        return false;
    }
    return true;
}

} // namespace Operations
} // namespace Core
