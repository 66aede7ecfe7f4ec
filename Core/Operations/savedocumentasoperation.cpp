#include "Core/Operations/savedocumentasoperation.h"

namespace Core {
namespace Operations {

SaveDocumentAsOperation::SaveDocumentAsOperation(Workspace &workspace)
    : SaveDocumentOperation(workspace, "Save Document As", 10)
{}

void SaveDocumentAsOperation::execute()
{
    fileName = askFileName();
    end();
}

void SaveDocumentAsOperation::end()
{
    if (!fileName.isEmpty())
        write();
    finish();
}

} // namespace Operations
} // namespace Core
