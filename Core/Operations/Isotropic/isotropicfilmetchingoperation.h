#ifndef CELVANE_CORE_OPERATIONS_ISOTROPICFILMETCHINGOPERATION_H
#define CELVANE_CORE_OPERATIONS_ISOTROPICFILMETCHINGOPERATION_H

#include "Core/Operations/undoableprocessoperation.h"

namespace Core {
namespace Operations {

/// Removes one material to a depth from every place where it touches empty space.
class IsotropicFilmEtchingOperation : public UndoableProcessOperation
{
public:
    explicit IsotropicFilmEtchingOperation(Workspace &workspace);

    void setDepth(float value);
    void setMaterial(quint32 value);
    float getDepth() const { return depth; }
    quint32 getMaterial() const { return material; }

protected:
    bool inputsComplete() const override { return inputCount >= 3; }
    bool runWorker(std::string &failure) override;
    bool changesSilicon() const override { return material == 1; }

private:
    quint32 material;
    float depth;
};

} // namespace Operations
} // namespace Core

#endif
