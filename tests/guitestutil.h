#ifndef CELVANE_TESTS_GUITESTUTIL_H
#define CELVANE_TESTS_GUITESTUTIL_H

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include "UI/Operations/createsubstratedialog.h"

#include <QSpinBox>

#include <functional>

/// Acts on the next modal dialog as soon as it is shown (dialogs run their own event loop,
/// so the test schedules what the user would do before it opens one). Gives up after a few
/// seconds so a missing dialog fails the test instead of hanging it.
inline void whenModal(std::function<void(QWidget *)> action, int attempts = 300)
{
    QTimer::singleShot(10, [action, attempts]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            action(modal);
            return;
        }
        if (attempts > 0)
            whenModal(action, attempts - 1);
    });
}

/// Presses a standard button of the next message box.
inline void answerMessageBox(QMessageBox::StandardButton button)
{
    whenModal([button](QWidget *w) {
        if (QMessageBox *box = qobject_cast<QMessageBox *>(w))
            box->button(button)->click();
        else if (QDialog *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
    });
}

/// Accepts the substrate dialog with a small box so the test stays quick.
inline void acceptSmallSubstrate()
{
    whenModal([](QWidget *w) {
        Ui::Operations::CreateSubstrateDialog *dialog =
            qobject_cast<Ui::Operations::CreateSubstrateDialog *>(w);
        if (!dialog) {
            static_cast<QDialog *>(w)->reject();
            return;
        }
        dialog->findChild<QSpinBox *>("sbxTotalWidth")->setValue(20);
        dialog->findChild<QSpinBox *>("sbxTotalLength")->setValue(10);
        dialog->findChild<QSpinBox *>("sbxTotalHeight")->setValue(8);
        dialog->findChild<QSpinBox *>("sbxSubsHeight")->setValue(3);
        dialog->accept();
    });
}

#endif
