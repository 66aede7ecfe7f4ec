#include "UI/Console/commandconsole.h"

#include "Core/Operations/consoleinput.h"
#include "ui_commandconsole.h"

#include <QApplication>
#include <QEvent>
#include <QShortcut>
#include <QTimer>

namespace Ui {
namespace Console {

CommandConsole::CommandConsole(Core::Operations::ConsoleInput *input, QWidget *parent)
    : QWidget(parent), ui(new Ui::CommandConsoleForm()), historyCursor(0), input(input)
{
    ui->setupUi(this);
    upShortcut = new QShortcut(QKeySequence(Qt::Key_Up), this);
    downShortcut = new QShortcut(QKeySequence(Qt::Key_Down), this);
    connect(upShortcut, &QShortcut::activated, this, &CommandConsole::upArrowPressed);
    connect(downShortcut, &QShortcut::activated, this, &CommandConsole::downArrowPressed);

    observer.reset(new ConsoleObserver(input));
    input->addObserver(observer);
    connect(observer.get(), &ConsoleObserver::messageWritten, this, &CommandConsole::writeMessage);

    // The form's layout becomes the console's own, so the pane and the line follow the
    // window's size; the emptied container stays out of the way.
    setLayout(ui->verticalLayout);
    ui->verticalLayoutWidget->hide();
    connect(ui->linCommand, &QLineEdit::returnPressed, this, &CommandConsole::enterPressed);
}

CommandConsole::~CommandConsole()
{
    delete ui;
}

QLineEdit *CommandConsole::inputField() const
{
    return ui->linCommand;
}

QPlainTextEdit *CommandConsole::outputPane() const
{
    return ui->plainTextEdit;
}

void CommandConsole::enterPressed()
{
    const QString text = ui->linCommand->text();
    if (!text.isEmpty()) {
        commandHistory.prepend(text);
        historyCursor = 0;
        ui->plainTextEdit->appendPlainText(text);
        ui->linCommand->clear();
    }
    input->submitLine(text.toStdString());
}

void CommandConsole::upArrowPressed()
{
    const int end = commandHistory.size();
    if (historyCursor != end)
        ui->linCommand->setText(commandHistory.at(historyCursor));
    if (historyCursor < end) {
        ++historyCursor;
        if (historyCursor == end)
            historyCursor = end - 1; // stays on the oldest line
    }
}

void CommandConsole::downArrowPressed()
{
    const int end = commandHistory.size();
    if (historyCursor != end)
        ui->linCommand->setText(commandHistory.at(historyCursor));
    if (historyCursor == 0 || end == 0)
        ui->linCommand->clear();
    else if (historyCursor < end)
        --historyCursor;
}

void CommandConsole::writeMessage(QString message)
{
    ui->plainTextEdit->appendPlainText(message);
    // Operations write their prompt just before they make the request: look once they have.
    QTimer::singleShot(0, this, &CommandConsole::takeFocusIfAsked);
}

void CommandConsole::takeFocusIfAsked()
{
    if (!input || !input->getRequester() || !isVisible() || QApplication::activeModalWidget())
        return;
    raise();
    activateWindow();
    ui->linCommand->setFocus(Qt::OtherFocusReason);
}

void CommandConsole::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        setWindowTitle(QCoreApplication::translate("CommandConsoleForm", "Console"));
    QWidget::changeEvent(event);
}

void CommandConsole::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    Q_EMIT closed();
}

} // namespace Console
} // namespace Ui
