#include "UI/Observers/documentopenedobserver.h"

#include "Core/Operations/documentfile.h"
#include "Core/Operations/opendocumentoperation.h"
#include "UI/mainwindow.h"

#include <QMessageBox>

namespace Ui {
namespace Observers {

using Core::Operations::DocumentFile;

void DocumentOpenedObserver::update()
{
    open(Core::Operations::OpenDocumentOperation::getFileName());
}

bool DocumentOpenedObserver::open(const QString &fileName)
{
    MainWindow *window = new MainWindow();
    QString error;
    QStringList warnings;
    const DocumentFile::ReadResult result = DocumentFile::readDocument(
        fileName, window->getPresenter().getWorkspace(), &error, &warnings);
    while (error.endsWith(QLatin1Char('.')))
        error.chop(1); // the sentence below ends it
    if (result != DocumentFile::Read) {
        // A document that cannot be read leaves no empty window behind.
        window->close();
        if (result == DocumentFile::NotOpened)
            QMessageBox::information(
                nullptr, QStringLiteral("Open document"),
                QStringLiteral("The document \"%1\" cannot be opened: %2.").arg(fileName, error));
        else
            QMessageBox::information(
                nullptr, QStringLiteral("Error reading from file"),
                QStringLiteral("The document \"%1\" cannot be read: %2.").arg(fileName, error));
        return false;
    }
    const bool complete = !window->getPresenter().getDocument().getFileName().isEmpty();
    if (complete)
        window->setWindowTitle(QStringLiteral("Celvane  ") + fileName);
    window->showMaximized();
    if (!warnings.isEmpty())
        QMessageBox::warning(
            window, QStringLiteral("Open document"),
            QStringLiteral("Parts of \"%1\" could not be loaded:\n\n%2%3")
                .arg(fileName, warnings.join(QLatin1Char('\n')),
                     complete ? QString()
                              : QStringLiteral("\n\nThe rest opens as an untitled document, "
                                               "so saving it does not overwrite the file.")));
    return true;
}

} // namespace Observers
} // namespace Ui
