#ifndef CELVANE_CORE_OPERATIONS_SIMPLEREACTIVEIONETCHINGOPERATION_H
#define CELVANE_CORE_OPERATIONS_SIMPLEREACTIVEIONETCHINGOPERATION_H

#include "Core/Operations/undoableprocessoperation.h"

namespace Core {
namespace Operations {

/// Removes one material strictly vertically, one layer per step.
class SimpleReactiveIonEtchingOperation : public UndoableProcessOperation
{
public:
    enum Direction : quint8
    {
        FromTop = 1,
        FromBelow = 2
    };

    explicit SimpleReactiveIonEtchingOperation(Workspace &workspace);

    void setDepth(double value) { flagInput(depth, depthSet, value); }
    void setMaterial(quint32 value) { flagInput(material, materialSet, value); }
    void setEtchFromBelow(bool on);
    void setEtchFromTop(bool on);
    double getDepth() const { return depth; }
    quint32 getMaterial() const { return material; }
    quint8 getDirection() const { return direction; }

protected:
    bool inputsComplete() const override { return materialSet && depthSet; }
    bool runWorker(std::string &failure) override;
    bool changesSilicon() const override { return material == 1; }

private:
    quint32 material;
    double depth;
    quint8 direction;
    bool materialSet;
    bool depthSet;
};

} // namespace Operations
} // namespace Core

#endif
