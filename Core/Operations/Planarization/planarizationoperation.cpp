#include "Core/Operations/Planarization/planarizationoperation.h"

#include "Core/Operations/Planarization/planarization.h"

namespace Core {
namespace Operations {

void PlanarizationOperation::setClassObserver(const Util::ObserverPtr &o)
{
    ClassWideObserver<PlanarizationOperation>::get() = o;
}

PlanarizationOperation::PlanarizationOperation(Workspace &workspace)
    : ProcessOperation<Operation>(workspace, "Planarization", 22), maximumHeight(0),
      minimumHeight(0), maximumSet(false), minimumSet(false)
{
    observer = ClassWideObserver<PlanarizationOperation>::get();
}

void PlanarizationOperation::setMaximumHeight(quint32 value)
{
    maximumHeight = value;
    maximumSet = true;
}

void PlanarizationOperation::setMinimumHeight(quint32 value)
{
    minimumHeight = value;
    minimumSet = true;
}

bool PlanarizationOperation::runProcess(std::string &failure)
{
    Planarization worker(volume.get(), maximumHeight, minimumHeight);
    QString error;
    if (!worker.runPlanarization(&error)) {
        failure = error.toStdString();
        return false;
    }
    return true;
}

} // namespace Operations
} // namespace Core
