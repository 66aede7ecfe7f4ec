#include "UI/Observers/runmodelextractionobserver.h"

#include "UI/Observers/destroymodelextractiondialogobserver.h"
#include "UI/Operations/extractmodeldialog.h"

#include <QWidget>

namespace Ui {
namespace Observers {

RunModelExtractionObserver::RunModelExtractionObserver(
    const boost::shared_ptr<Core::Operations::RunModelExtraction> &operation, QWidget *mainWindow)
    : operation(operation), mainWindow(mainWindow),
      destroyObserver(new DestroyModelExtractionDialogObserver(operation))
{}

RunModelExtractionObserver::~RunModelExtractionObserver() = default;

Operations::ExtractModelDialog *RunModelExtractionObserver::getDialog() const
{
    return dialog;
}

void RunModelExtractionObserver::update()
{
    const boost::shared_ptr<Core::Operations::RunModelExtraction> op = operation.lock();
    if (op && op->isOpen()) {
        if (dialog)
            return;
        dialog = new Operations::ExtractModelDialog(op, mainWindow);
        const Util::ObserverPtr onClose = destroyObserver;
        QObject::connect(dialog, &QObject::destroyed, [onClose]() { onClose->update(); });
        if (mainWindow) // beside the view's middle, so both models stay visible
            dialog->move(mainWindow->mapToGlobal(QPoint(mainWindow->width() - 260, 80)));
        dialog->show();
        return;
    }
    if (dialog)
        dialog->close();
}

} // namespace Observers
} // namespace Ui
