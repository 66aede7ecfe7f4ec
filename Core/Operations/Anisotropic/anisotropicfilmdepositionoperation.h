#ifndef CELVANE_CORE_OPERATIONS_ANISOTROPIC_ANISOTROPICFILMDEPOSITIONOPERATION_H
#define CELVANE_CORE_OPERATIONS_ANISOTROPIC_ANISOTROPICFILMDEPOSITIONOPERATION_H

#include "Core/Operations/undoableprocessoperation.h"

namespace Core {
namespace Operations {

/// Directional (PVD) film deposition from the top, the bottom or both sides of a cell volume.
/// It shares the display name and the record tag of the isotropic deposition.
class AnisotropicFilmDepositionOperation : public UndoableProcessOperation
{
public:
    explicit AnisotropicFilmDepositionOperation(Workspace &workspace);

    void setThickness(float value);
    void setMaterial(quint32 value);
    /// Horizontal-to-vertical ratio.
    void setRatio(float value);
    /// AnisotropicFilmDeposition::DepositOn value.
    void setDepositOn(quint32 value);
    float getThickness() const { return thickness; }
    quint32 getMaterial() const { return material; }
    float getRatio() const { return ratio; }
    quint32 getDepositOn() const { return depositOn; }

protected:
    bool inputsComplete() const override { return inputCount >= 3; }
    bool runWorker(std::string &failure) override;
    bool changesSilicon() const override { return material == 1; }

private:
    quint32 material;
    float thickness;
    float ratio;
    quint32 depositOn;
};

} // namespace Operations
} // namespace Core

#endif
