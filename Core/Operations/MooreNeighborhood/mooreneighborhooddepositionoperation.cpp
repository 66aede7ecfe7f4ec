#include "Core/Operations/MooreNeighborhood/mooreneighborhooddepositionoperation.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhooddeposition.h"

#include <limits>

namespace Core {
namespace Operations {

MooreNeighborhoodDepositionOperation::MooreNeighborhoodDepositionOperation(Workspace &workspace)
    : MooreNeighborhoodOperation(workspace, 18)
{}

bool MooreNeighborhoodDepositionOperation::runWorker(std::string &failure)
{
    const qint32 count = qint32(qMin<quint32>(steps, quint32(std::numeric_limits<qint32>::max())));
    MooreNeighborhoodDeposition worker(volume.get(), material, count);
    QString error;
    if (!worker.runDeposition(&error)) {
        failure = error.toStdString();
        return false;
    }
    return true;
}

} // namespace Operations
} // namespace Core
