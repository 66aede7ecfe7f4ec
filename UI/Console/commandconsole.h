#ifndef CELVANE_UI_CONSOLE_COMMANDCONSOLE_H
#define CELVANE_UI_CONSOLE_COMMANDCONSOLE_H

#include "UI/Console/consoleobserver.h"

#include <QStringList>
#include <QWidget>
#include <boost/shared_ptr.hpp>

class QShortcut;
class QLineEdit;
class QPlainTextEdit;

namespace Ui {
class CommandConsoleForm;
}

namespace Core {
namespace Operations {
class ConsoleInput;
}
} // namespace Core

namespace Ui {
namespace Console {

/// The console tool window: operations' prompts and results above, a line for answers
/// below, and an Up/Down history of the lines typed.
class CommandConsole : public QWidget
{
    Q_OBJECT

public:
    CommandConsole(Core::Operations::ConsoleInput *input, QWidget *parent = nullptr);
    ~CommandConsole() override;

    QLineEdit *inputField() const;
    QPlainTextEdit *outputPane() const;
    /// Lines typed, newest first.
    QStringList getHistory() const { return commandHistory; }

public Q_SLOTS:
    void enterPressed();
    void upArrowPressed();
    void downArrowPressed();
    void writeMessage(QString message);
    /// Brings the console up with the keyboard focus in its input line when an operation waits
    /// for an answer (and no dialog is open).
    void takeFocusIfAsked();

Q_SIGNALS:
    /// The window was closed by its own close button.
    void closed();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Ui::CommandConsoleForm *ui;
    QShortcut *upShortcut;
    QShortcut *downShortcut;
    QStringList commandHistory;
    int historyCursor; // commandHistory.size() is the end position
    QString unused;
    Core::Operations::ConsoleInput *input;
    boost::shared_ptr<ConsoleObserver> observer;
};

} // namespace Console
} // namespace Ui

#endif
