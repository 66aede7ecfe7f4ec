#ifndef CELVANE_CORE_OPERATIONS_SAVEDOCUMENTASOPERATION_H
#define CELVANE_CORE_OPERATIONS_SAVEDOCUMENTASOPERATION_H

#include "Core/Operations/savedocumentoperation.h"

namespace Core {
namespace Operations {

/// Saves the document under a name the user always chooses anew.
class SaveDocumentAsOperation : public SaveDocumentOperation
{
public:
    explicit SaveDocumentAsOperation(Workspace &workspace);

    void execute() override;
    void end() override;
};

} // namespace Operations
} // namespace Core

#endif
