#include "Core/Operations/Isotropic/isotropicfilmetchingoperation.h"

#include "Core/Operations/Isotropic/isotropicfilmetching.h"

namespace Core {
namespace Operations {

IsotropicFilmEtchingOperation::IsotropicFilmEtchingOperation(Workspace &workspace)
    : UndoableProcessOperation(workspace, "Isotropic Etching", 14,
                               QStringLiteral("IsotropicEtching")),
      material(0), depth(0.0f)
{}

void IsotropicFilmEtchingOperation::setDepth(float value)
{
    depth = value;
    ++inputCount;
}

void IsotropicFilmEtchingOperation::setMaterial(quint32 value)
{
    material = value;
    ++inputCount;
}

bool IsotropicFilmEtchingOperation::runWorker(std::string &failure)
{
    IsotropicFilmEtching worker(volume.get(), material, depth);
    QString error;
    if (!worker.runEtching(&error)) {
        failure = error.toStdString();
        return false;
    }
    return true;
}

} // namespace Operations
} // namespace Core
