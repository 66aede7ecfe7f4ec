#include "Core/Operations/savedocumentoperation.h"

#include "Core/Operations/documentfile.h"
#include "Core/Operations/ifiledialogs.h"
#include "Core/Operations/workspace.h"

#include <QDir>

namespace Core {
namespace Operations {

SaveDocumentOperation::SaveDocumentOperation(Workspace &workspace)
    : Operation(workspace, "Save document", 9)
{}

SaveDocumentOperation::SaveDocumentOperation(Workspace &workspace, const std::string &name,
                                             quint32 id)
    : Operation(workspace, name, id)
{}

QString SaveDocumentOperation::askFileName() const
{
    const boost::shared_ptr<IFileDialogs> dialogs = IFileDialogs::instance();
    if (!dialogs)
        return QString();
    return dialogs->getSaveFileName(QStringLiteral("Choose location"), QDir::homePath(),
                                    QStringLiteral("Celvane file (*.clv)"));
}

void SaveDocumentOperation::write()
{
    error.clear();
    if (!DocumentFile::writeDocument(fileName, workspace, &error) && error.isEmpty())
        error = QStringLiteral("the file could not be written");
    if (observer)
        observer->update();
}

void SaveDocumentOperation::execute()
{
    fileName = workspace.getDocument().getFileName();
    if (fileName.isEmpty())
        fileName = askFileName();
    end();
}

void SaveDocumentOperation::end()
{
    if (fileName.isEmpty()) {
        clearIfCurrent();
        return;
    }
    write();
    finish();
}

void SaveDocumentOperation::cancel()
{
    clearIfCurrent();
}

} // namespace Operations
} // namespace Core
