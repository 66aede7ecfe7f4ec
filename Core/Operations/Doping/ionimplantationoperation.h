#ifndef CELVANE_CORE_OPERATIONS_DOPING_IONIMPLANTATIONOPERATION_H
#define CELVANE_CORE_OPERATIONS_DOPING_IONIMPLANTATIONOPERATION_H

#include "Core/Operations/classwideprocessoperation.h"

namespace Core {
namespace Operations {

/// Implants a doped layer at a depth below the top of each column and anneals it.
class IonImplantationOperation : public ClassWideProcessOperation<IonImplantationOperation>
{
public:
    explicit IonImplantationOperation(Workspace &workspace);

    void setAnnealingDistance(float value)
    {
        flagInput(annealingDistance, annealingDistanceSet, value);
    }
    void setImplantationDepth(float value)
    {
        flagInput(implantationDepth, implantationDepthSet, value);
    }
    void setMaterial(quint32 value) { flagInput(material, materialSet, value); }
    float getAnnealingDistance() const { return annealingDistance; }
    float getImplantationDepth() const { return implantationDepth; }
    quint32 getMaterial() const { return material; }

protected:
    bool inputsComplete() const override
    {
        return materialSet && implantationDepthSet && annealingDistanceSet;
    }
    bool runWorker(std::string &failure) override;
    bool changesSilicon() const override { return true; }
    std::string cancelText() const override { return ": Operation Canceled!"; }

private:
    quint32 material;
    float implantationDepth;
    float annealingDistance;
    bool materialSet;
    bool implantationDepthSet;
    bool annealingDistanceSet;
};

} // namespace Operations
} // namespace Core

#endif
