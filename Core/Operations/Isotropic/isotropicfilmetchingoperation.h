#ifndef CELVANE_CORE_OPERATIONS_ISOTROPICFILMETCHINGOPERATION_H
#define CELVANE_CORE_OPERATIONS_ISOTROPICFILMETCHINGOPERATION_H

#include "Core/Operations/filmprocessoperation.h"

namespace Core {
namespace Operations {

/// Removes one material to a depth from every place where it touches empty space.
class IsotropicFilmEtchingOperation : public FilmProcessOperation
{
public:
    explicit IsotropicFilmEtchingOperation(Workspace &workspace);

    void setDepth(float value) { countInput(amount, value); }
    float getDepth() const { return amount; }

protected:
    bool runWorker(std::string &failure) override;
    bool changesSilicon() const override { return material == 1; }
};

} // namespace Operations
} // namespace Core

#endif
