#ifndef CELVANE_UI_OBSERVERS_OPTIONSOBSERVER_H
#define CELVANE_UI_OBSERVERS_OPTIONSOBSERVER_H

#include "Core/Operations/workspace.h"
#include "Util/iobserver.h"

#include <QDialog>
#include <QPointer>

#include <boost/shared_ptr.hpp>

class QWidget;

namespace Ui {
namespace Observers {

/// The frame of the observers that open the options dialog of the workspace's current
/// operation, parented to the main window.
class OptionsObserver : public Util::IObserver
{
public:
    /// Runs dialog for a waiting operation, beside the middle of the view: OK hands the values
    /// over (apply()) and ends the operation; a rejected dialog cancels it, with its message.
    template <class Op, class Dialog, class Apply>
    void runDialog(Op &operation, Dialog &dialog, Apply apply) const
    {
        placeBesideView(dialog);
        if (dialog.exec() != QDialog::Accepted) {
            operation.cancel();
            return;
        }
        apply();
        operation.end();
    }

protected:
    OptionsObserver(Core::Operations::Workspace &workspace, QWidget *mainWindow);

    /// Moves dialog to the right edge of the main window, so the volume in the middle of the
    /// view (and any mask preview on it) stays visible while the options are chosen.
    void placeBesideView(QWidget &dialog) const;

    /// The current operation when it is an Op; null otherwise.
    template <class Op> boost::shared_ptr<Op> currentOperation() const
    {
        return boost::dynamic_pointer_cast<Op>(workspace.getCurrentOperation());
    }

    Core::Operations::Workspace &workspace;
    QPointer<QWidget> mainWindow;
};

} // namespace Observers
} // namespace Ui

#endif
