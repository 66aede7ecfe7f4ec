#include "Core/Operations/Doping/ionimplantationoperation.h"

#include "Core/Operations/Doping/ionimplantation.h"

namespace Core {
namespace Operations {

void IonImplantationOperation::setClassObserver(const Util::ObserverPtr &o)
{
    ClassWideObserver<IonImplantationOperation>::get() = o;
}

IonImplantationOperation::IonImplantationOperation(Workspace &workspace)
    : ProcessOperation<Operation>(workspace, "Ion Implantation", 3), material(0),
      implantationDepth(0.0f), annealingDistance(0.0f), materialSet(false),
      implantationDepthSet(false), annealingDistanceSet(false)
{
    observer = ClassWideObserver<IonImplantationOperation>::get();
}

void IonImplantationOperation::setAnnealingDistance(float value)
{
    annealingDistance = value;
    annealingDistanceSet = true;
}

void IonImplantationOperation::setImplantationDepth(float value)
{
    implantationDepth = value;
    implantationDepthSet = true;
}

void IonImplantationOperation::setMaterial(quint32 value)
{
    material = value;
    materialSet = true;
}

bool IonImplantationOperation::runProcess(std::string &failure)
{
    IonImplantation worker(volume.get(), material, implantationDepth, annealingDistance);
    QString error;
    if (!worker.runImplantation(&error)) {
        failure = error.toStdString();
        return false;
    }
    return true;
}

} // namespace Operations
} // namespace Core
