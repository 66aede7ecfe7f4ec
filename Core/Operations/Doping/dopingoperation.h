#ifndef CELVANE_CORE_OPERATIONS_DOPING_DOPINGOPERATION_H
#define CELVANE_CORE_OPERATIONS_DOPING_DOPINGOPERATION_H

#include "Core/Operations/undoableprocessoperation.h"

namespace Core {
namespace Operations {

/// Dopes the dopable cells of a cell volume to a depth below its surface.
class DopingOperation : public UndoableProcessOperation
{
public:
    explicit DopingOperation(Workspace &workspace);

    void setDepth(float value) { flagInput(depth, depthSet, value); }
    void setMaterial(quint32 value) { flagInput(material, materialSet, value); }
    float getDepth() const { return depth; }
    quint32 getMaterial() const { return material; }

protected:
    bool inputsComplete() const override { return materialSet && depthSet; }
    bool runWorker(std::string &failure) override;
    bool changesSilicon() const override { return true; }

private:
    quint32 material;
    float depth;
    bool materialSet;
    bool depthSet;
};

} // namespace Operations
} // namespace Core

#endif
