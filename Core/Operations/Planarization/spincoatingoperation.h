#ifndef CELVANE_CORE_OPERATIONS_SPINCOATINGOPERATION_H
#define CELVANE_CORE_OPERATIONS_SPINCOATINGOPERATION_H

#include "Core/Operations/classwideprocessoperation.h"

namespace Core {
namespace Operations {

/// Pours a material into every empty cell below a height.
class SpinCoatingOperation : public ClassWideProcessOperation<SpinCoatingOperation>
{
public:
    explicit SpinCoatingOperation(Workspace &workspace);

    void setMaterial(quint32 value) { flagInput(material, materialSet, value); }
    void setHeight(quint32 value) { flagInput(height, heightSet, value); }
    quint32 getMaterial() const { return material; }
    quint32 getHeight() const { return height; }

protected:
    bool inputsComplete() const override { return materialSet && heightSet; }
    bool runWorker(std::string &failure) override;

private:
    quint32 material;
    quint32 height;
    bool materialSet;
    bool heightSet;
};

} // namespace Operations
} // namespace Core

#endif
