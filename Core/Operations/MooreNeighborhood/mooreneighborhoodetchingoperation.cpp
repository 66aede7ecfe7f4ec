#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetchingoperation.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetching.h"

#include <limits>

namespace Core {
namespace Operations {

MooreNeighborhoodEtchingOperation::MooreNeighborhoodEtchingOperation(Workspace &workspace)
    : MooreNeighborhoodOperation(workspace, 19)
{}

bool MooreNeighborhoodEtchingOperation::runWorker(std::string &failure)
{
    const qint32 count = qint32(qMin<quint32>(steps, quint32(std::numeric_limits<qint32>::max())));
    MooreNeighborhoodEtching worker(volume.get(), material, count);
    QString error;
    if (!worker.runEtching(&error)) {
        failure = error.toStdString();
        return false;
    }
    return true;
}

} // namespace Operations
} // namespace Core
