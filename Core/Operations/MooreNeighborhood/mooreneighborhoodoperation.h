#ifndef CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOODOPERATION_H
#define CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOODOPERATION_H

#include "Core/Operations/undoableprocessoperation.h"

namespace Core {
namespace Operations {

/// What the Moore deposition and etching share: a material, a whole number of steps, and a
/// flag per input.
class MooreNeighborhoodOperation : public UndoableProcessOperation
{
public:
    void setMaterial(quint32 value) { flagInput(material, materialSet, value); }
    void setSteps(quint32 value) { flagInput(steps, stepsSet, value); }
    quint32 getMaterial() const { return material; }
    quint32 getSteps() const { return steps; }

protected:
    MooreNeighborhoodOperation(Workspace &workspace, quint32 id);

    bool inputsComplete() const override { return materialSet && stepsSet; }
    bool changesSilicon() const override { return material == 1; }
    /// The steps as the workers take them: counts beyond their range run as many as they can.
    qint32 stepCount() const;

    quint32 material;
    quint32 steps;
    bool materialSet;
    bool stepsSet;
};

} // namespace Operations
} // namespace Core

#endif
