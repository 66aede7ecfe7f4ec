#ifndef CELVANE_CORE_OPERATIONS_ISOTROPICFILMDEPOSITIONOPERATION_H
#define CELVANE_CORE_OPERATIONS_ISOTROPICFILMDEPOSITIONOPERATION_H

#include "Core/Operations/undoableprocessoperation.h"

namespace Core {
namespace Operations {

/// Grows a conformal film of one material on every exposed surface of a cell volume.
class IsotropicFilmDepositionOperation : public UndoableProcessOperation
{
public:
    explicit IsotropicFilmDepositionOperation(Workspace &workspace);

    void setThickness(float value);
    void setMaterial(quint32 value);
    float getThickness() const { return thickness; }
    quint32 getMaterial() const { return material; }

protected:
    bool inputsComplete() const override { return inputCount >= 3; }
    bool runWorker(std::string &failure) override;
    bool changesSilicon() const override { return material == 1; }

private:
    quint32 material;
    float thickness;
};

} // namespace Operations
} // namespace Core

#endif
