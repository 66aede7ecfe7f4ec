#include "UI/Observers/extractfilmobserver.h"

#include "Core/Operations/Glue/extractfilm.h"
#include "UI/Operations/extractfilmdialog.h"

#include <QMessageBox>

namespace Ui {
namespace Observers {

ExtractFilmObserver::ExtractFilmObserver(Core::Operations::Workspace &workspace,
                                         QWidget *mainWindow)
    : OptionsObserver(workspace, mainWindow)
{}

void ExtractFilmObserver::update()
{
    const auto operation = currentOperation<Core::Operations::ExtractFilm>();
    if (!operation)
        return;
    Ui::Operations::ExtractFilmDialog dialog(mainWindow);
    runDialog(*operation, dialog,
              [&] { operation->setOptions(dialog.getMaterialId(), dialog.invertFilm()); });
    if (!operation->getError().isEmpty())
        QMessageBox::warning(mainWindow, QStringLiteral("Extract Film"), operation->getError());
}

} // namespace Observers
} // namespace Ui
