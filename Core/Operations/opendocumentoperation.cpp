#include "Core/Operations/opendocumentoperation.h"

#include "Core/Operations/ifiledialogs.h"
#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

OpenDocumentOperation::OpenDocumentOperation(Workspace &workspace)
    : Operation(workspace, "Open document", 11)
{}

QString &OpenDocumentOperation::fileName()
{
    static QString name;
    return name;
}

QDir &OpenDocumentOperation::lastLocation()
{
    static QDir location = QDir::home();
    return location;
}

Util::ObserverPtr &OpenDocumentOperation::observer()
{
    static Util::ObserverPtr shared;
    return shared;
}

QString OpenDocumentOperation::getFileName()
{
    return fileName();
}

QDir OpenDocumentOperation::getLastLocation()
{
    return lastLocation();
}

void OpenDocumentOperation::setObserver(const Util::ObserverPtr &o)
{
    observer() = o;
}

void OpenDocumentOperation::execute()
{
    const boost::shared_ptr<IFileDialogs> dialogs = IFileDialogs::instance();
    fileName() = dialogs ? dialogs->getOpenFileName(QStringLiteral("Choose file"),
                                                    lastLocation().absolutePath(),
                                                    QStringLiteral("Celvane file (*.clv)"))
                         : QString();
    if (fileName().isEmpty()) {
        cancel();
        return;
    }
    lastLocation() = QDir(fileName());
    end();
}

void OpenDocumentOperation::end()
{
    if (observer())
        observer()->update();
    finish();
}

void OpenDocumentOperation::cancel()
{
    clearIfCurrent();
}

} // namespace Operations
} // namespace Core
