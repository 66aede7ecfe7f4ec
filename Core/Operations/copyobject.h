#ifndef CELVANE_CORE_OPERATIONS_COPYOBJECT_H
#define CELVANE_CORE_OPERATIONS_COPYOBJECT_H

#include "Core/Operations/displacementoperation.h"

namespace Core {
namespace Operations {

/// Adds displaced clones of the selected objects.
class CopyObject : public DisplacementOperation
{
public:
    explicit CopyObject(Workspace &workspace);

    void cancel() override;
    void end() override;
    bool undo() override;
    void redo() override;

    /// Objects that could not be cloned (out of memory), with the reason.
    QString getError() const { return error; }

protected:
    std::string selectionPrompt() const override;
    ObjectPtr prepareObject(const ObjectPtr &selected) override;

private:
    QString error;
};

} // namespace Operations
} // namespace Core

#endif
