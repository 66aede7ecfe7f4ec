#ifndef CELVANE_CORE_OPERATIONS_FILMPROCESSOPERATION_H
#define CELVANE_CORE_OPERATIONS_FILMPROCESSOPERATION_H

#include "Core/Operations/undoableprocessoperation.h"

namespace Core {
namespace Operations {

/// An undoable film process: a material and an amount (a film thickness or an etch depth), each
/// counted as an input when it arrives, and complete once a given number of inputs (the volume
/// and the dialog among them) arrived.
class FilmProcessOperation : public UndoableProcessOperation
{
public:
    void setMaterial(quint32 value) { countInput(material, value); }
    quint32 getMaterial() const { return material; }

protected:
    /// requiredInputs: the input count at which the operation may run.
    FilmProcessOperation(Workspace &workspace, const std::string &name, quint32 id,
                         const QString &key, int requiredInputs);

    bool inputsComplete() const override { return inputCount >= requiredInputs; }

    quint32 material;
    float amount;

private:
    int requiredInputs;
};

} // namespace Operations
} // namespace Core

#endif
