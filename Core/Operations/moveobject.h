#ifndef CELVANE_CORE_OPERATIONS_MOVEOBJECT_H
#define CELVANE_CORE_OPERATIONS_MOVEOBJECT_H

#include "Core/Operations/displacementoperation.h"

namespace Core {
namespace Operations {

/// Moves the selected objects by a typed or clicked displacement.
class MoveObject : public DisplacementOperation
{
public:
    explicit MoveObject(Workspace &workspace);

    void cancel() override;
    void end() override;
    bool undo() override;
    void redo() override;

protected:
    std::string selectionPrompt() const override;
    ObjectPtr prepareObject(const ObjectPtr &selected) override { return selected; }
};

} // namespace Operations
} // namespace Core

#endif
