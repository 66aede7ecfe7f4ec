#ifndef CELVANE_CORE_OPERATIONS_ELECTRODEPOSITION_ELECTRODEPOSITIONOPERATION_H
#define CELVANE_CORE_OPERATIONS_ELECTRODEPOSITION_ELECTRODEPOSITIONOPERATION_H

#include "Core/Operations/filmprocessoperation.h"

namespace Core {
namespace Operations {

/// Electroplates a metal on the cells of a conducting material.
class ElectrodepositionOperation : public FilmProcessOperation
{
public:
    explicit ElectrodepositionOperation(Workspace &workspace);

    void setThickness(float value) { countInput(amount, value); }
    /// The plated material is the one of setMaterial.
    void setConductingMaterial(quint32 value) { countInput(conductingMaterial, value); }
    float getThickness() const { return amount; }
    quint32 getConductingMaterial() const { return conductingMaterial; }

protected:
    bool runWorker(std::string &failure) override;
    /// Plated silicon changes the silicon the lattice was built from.
    bool changesSilicon() const override { return material == 1; }

private:
    quint32 conductingMaterial;
};

} // namespace Operations
} // namespace Core

#endif
