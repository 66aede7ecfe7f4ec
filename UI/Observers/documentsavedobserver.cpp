#include "UI/Observers/documentsavedobserver.h"

#include "Core/Operations/savedocumentoperation.h"
#include "UI/mainwindow.h"

#include <QMessageBox>

namespace Ui {
namespace Observers {

DocumentSavedObserver::DocumentSavedObserver(MainWindow *mainWindow) : mainWindow(mainWindow) {}

void DocumentSavedObserver::update()
{
    if (!mainWindow)
        return;
    Core::Operations::Workspace &workspace = mainWindow->getPresenter().getWorkspace();
    const boost::shared_ptr<Core::Operations::SaveDocumentOperation> save =
        boost::dynamic_pointer_cast<Core::Operations::SaveDocumentOperation>(
            workspace.getCurrentOperation());
    if (save && !save->getError().isEmpty()) {
        // The document keeps its name and the title stays: nothing was saved.
        QMessageBox::warning(mainWindow, QStringLiteral("Save document"),
                             QStringLiteral("The document could not be saved to \"%1\": %2.")
                                 .arg(save->getFileName(), save->getError()));
        return;
    }
    mainWindow->setWindowTitle(QStringLiteral("Celvane  ") + workspace.getDocument().getFileName());
}

} // namespace Observers
} // namespace Ui
