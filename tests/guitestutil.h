#ifndef CELVANE_TESTS_GUITESTUTIL_H
#define CELVANE_TESTS_GUITESTUTIL_H

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>

#include "UI/Console/commandconsole.h"
#include "UI/Operations/createsubstratedialog.h"
#include "UI/mainwindow.h"

#include <QtTest>

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

/// A main window, resized when a size is given, shown and exposed (null if it never shows);
/// it deletes itself when closed.
inline Ui::MainWindow *showMainWindow(int width = 0, int height = 0)
{
    Ui::MainWindow *window = new Ui::MainWindow();
    if (width > 0)
        window->resize(width, height);
    window->show();
    if (QTest::qWaitForWindowExposed(window))
        return window;
    delete window;
    return nullptr;
}

/// Closes a window (if it is still there) and lets the deletions it posted happen.
inline void closeWindow(QWidget *window)
{
    if (window)
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// Everything the window's console shows.
inline QString consoleText(Ui::MainWindow *window)
{
    return window->getPresenter().getConsole()->outputPane()->toPlainText();
}

/// Fails, showing the console, unless the window's console ends with the text.
#define QVERIFY_CONSOLE_ENDS_WITH(window, text)                                                    \
    QVERIFY2(consoleText(window).endsWith(QLatin1String(text)), qPrintable(consoleText(window)))

/// A spin box's range and value in one line, to compare against the form's figures:
/// "0..1000000000: 10 units".
inline QString describe(const QDoubleSpinBox *box)
{
    auto number = [](double x) { return QString::number(x, 'g', 12); };
    return QStringLiteral("%1..%2: %3%4")
        .arg(number(box->minimum()), number(box->maximum()), number(box->value()), box->suffix());
}

/// The texts of the named labels of a dialog (empty where there is no such label).
inline QStringList labelTexts(const QWidget *dialog, const QStringList &names)
{
    QStringList texts;
    for (const QString &name : names) {
        const QLabel *label = dialog->findChild<QLabel *>(name);
        texts.append(label ? label->text() : QString());
    }
    return texts;
}

/// The texts of a combo box's entries, in order.
inline QStringList itemTexts(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}

/// Runs action on the next modal dialog if it is of type D (the action accepts or rejects it);
/// rejects any other.
template <class D> inline void whenDialog(std::function<void(D *)> action)
{
    whenModal([action](QWidget *w) {
        if (D *dialog = qobject_cast<D *>(w))
            action(dialog);
        else
            static_cast<QDialog *>(w)->reject();
    });
}

/// Accepts the next modal dialog and keeps the text of a message box (empty for another
/// dialog) in *text, which must outlive the dialog.
inline void acceptMessageBox(QString *text)
{
    whenModal([text](QWidget *w) {
        if (QMessageBox *box = qobject_cast<QMessageBox *>(w))
            *text = box->text();
        static_cast<QDialog *>(w)->accept();
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

/// Creates a substrate through the window's menu, accepting the dialog with a small box
/// (20 x 10 x 8 cells, 3 of them silicon) so the test stays quick.
inline void createSmallSubstrate(Ui::MainWindow *window)
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
    window->findChild<QAction *>(QStringLiteral("actionCreate_Substrate"))->trigger();
}

#endif
