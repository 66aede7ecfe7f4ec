#ifndef CELVANE_CORE_OPERATIONS_ELECTRODEPOSITION_ELECTRODEPOSITIONOPERATION_H
#define CELVANE_CORE_OPERATIONS_ELECTRODEPOSITION_ELECTRODEPOSITIONOPERATION_H

#include "Core/Operations/undoableprocessoperation.h"

namespace Core {
namespace Operations {

/// Electroplates a metal on the cells of a conducting material.
class ElectrodepositionOperation : public UndoableProcessOperation
{
public:
    explicit ElectrodepositionOperation(Workspace &workspace);

    void setThickness(float value);
    /// The plated material.
    void setMaterial(quint32 value);
    void setConductingMaterial(quint32 value);
    float getThickness() const { return thickness; }
    quint32 getMaterial() const { return material; }
    quint32 getConductingMaterial() const { return conductingMaterial; }

protected:
    bool inputsComplete() const override { return inputCount >= 4; }
    bool runWorker(std::string &failure) override;

private:
    quint32 material;
    quint32 conductingMaterial;
    float thickness;
};

} // namespace Operations
} // namespace Core

#endif
