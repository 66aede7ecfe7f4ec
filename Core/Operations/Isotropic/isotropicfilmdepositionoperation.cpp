#include "Core/Operations/Isotropic/isotropicfilmdepositionoperation.h"

#include "Core/Operations/Isotropic/isotropicfilmdeposition.h"

namespace Core {
namespace Operations {

IsotropicFilmDepositionOperation::IsotropicFilmDepositionOperation(Workspace &workspace)
    : UndoableProcessOperation(workspace, "Isotropic Deposition", 13,
                               QStringLiteral("IsotropicDeposition")),
      material(0), thickness(0.0f)
{}

void IsotropicFilmDepositionOperation::setThickness(float value)
{
    thickness = value;
    ++inputCount;
}

void IsotropicFilmDepositionOperation::setMaterial(quint32 value)
{
    material = value;
    ++inputCount;
}

bool IsotropicFilmDepositionOperation::runWorker(std::string &failure)
{
    IsotropicFilmDeposition worker(volume.get(), material, thickness);
    QString error;
    if (!worker.runDeposition(&error)) {
        failure = error.toStdString();
        return false;
    }
    return true;
}

} // namespace Operations
} // namespace Core
