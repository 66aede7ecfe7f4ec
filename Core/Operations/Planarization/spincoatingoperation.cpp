#include "Core/Operations/Planarization/spincoatingoperation.h"

#include "Core/Operations/Planarization/spincoating.h"

namespace Core {
namespace Operations {

void SpinCoatingOperation::setClassObserver(const Util::ObserverPtr &o)
{
    ClassWideObserver<SpinCoatingOperation>::get() = o;
}

SpinCoatingOperation::SpinCoatingOperation(Workspace &workspace)
    : ProcessOperation<Operation>(workspace, "Spin Coating", 23), material(0), height(0),
      materialSet(false), heightSet(false)
{
    observer = ClassWideObserver<SpinCoatingOperation>::get();
}

void SpinCoatingOperation::setMaterial(quint32 value)
{
    material = value;
    materialSet = true;
}

void SpinCoatingOperation::setHeight(quint32 value)
{
    height = value;
    heightSet = true;
}

bool SpinCoatingOperation::runProcess(std::string &failure)
{
    SpinCoating worker(volume.get(), material, height);
    QString error;
    if (!worker.runSpinCoating(&error)) {
        failure = error.toStdString();
        return false;
    }
    return true;
}

} // namespace Operations
} // namespace Core
