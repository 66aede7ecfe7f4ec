#ifndef CELVANE_CORE_OPERATIONS_ISOTROPICFILMDEPOSITIONOPERATION_H
#define CELVANE_CORE_OPERATIONS_ISOTROPICFILMDEPOSITIONOPERATION_H

#include "Core/Operations/filmprocessoperation.h"

namespace Core {
namespace Operations {

/// Grows a conformal film of one material on every exposed surface of a cell volume.
class IsotropicFilmDepositionOperation : public FilmProcessOperation
{
public:
    explicit IsotropicFilmDepositionOperation(Workspace &workspace);

    void setThickness(float value) { countInput(amount, value); }
    float getThickness() const { return amount; }

protected:
    bool runWorker(std::string &failure) override;
    bool changesSilicon() const override { return material == 1; }
};

} // namespace Operations
} // namespace Core

#endif
