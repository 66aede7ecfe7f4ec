#ifndef CELVANE_CORE_OPERATIONS_ANISOTROPIC_ANISOTROPICFILMDEPOSITIONOPERATION_H
#define CELVANE_CORE_OPERATIONS_ANISOTROPIC_ANISOTROPICFILMDEPOSITIONOPERATION_H

#include "Core/Operations/filmprocessoperation.h"

namespace Core {
namespace Operations {

/// Directional (PVD) film deposition from the top, the bottom or both sides of a cell volume.
/// It shares the display name and the record tag of the isotropic deposition.
class AnisotropicFilmDepositionOperation : public FilmProcessOperation
{
public:
    explicit AnisotropicFilmDepositionOperation(Workspace &workspace);

    void setThickness(float value) { countInput(amount, value); }
    /// Horizontal-to-vertical ratio.
    void setRatio(float value) { countInput(ratio, value); }
    /// AnisotropicFilmDeposition::DepositOn value.
    void setDepositOn(quint32 value) { countInput(depositOn, value); }
    float getThickness() const { return amount; }
    float getRatio() const { return ratio; }
    quint32 getDepositOn() const { return depositOn; }

protected:
    bool runWorker(std::string &failure) override;
    bool changesSilicon() const override { return material == 1; }

private:
    float ratio;
    quint32 depositOn;
};

} // namespace Operations
} // namespace Core

#endif
