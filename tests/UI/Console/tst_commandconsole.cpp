#include "Core/Operations/workspace.h"
#include "UI/Console/commandconsole.h"
#include "testmain.h"
#include "workspacetestutil.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using Ui::Console::CommandConsole;

namespace {

class EnterOperation : public Core::Operations::Operation
{
public:
    explicit EnterOperation(Core::Operations::Workspace &w) : Operation(w, "Enter", 900) {}
    void execute() override { ++executed; }
    void cancel() override {}
    void end() override {}
    int executed = 0;
};

} // namespace

class TestCommandConsole : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void formNamesAndProperties();
    void typedLineIsEchoedAndSubmitted();
    void emptyEnterAnswersPendingEnter();
    void historyWalk();
    void messagesAppear();
    void keyboardDrivesTheHistory();

private:
    WorkspaceFixture *fixture = nullptr;
    CommandConsole *console = nullptr;
};

void TestCommandConsole::init()
{
    fixture = new WorkspaceFixture();
    console = new CommandConsole(&fixture->workspace.getConsoleInput());
    console->show();
    QVERIFY(QTest::qWaitForWindowExposed(console));
}

void TestCommandConsole::cleanup()
{
    delete console;
    delete fixture;
}

void TestCommandConsole::formNamesAndProperties()
{
    QCOMPARE(console->objectName(), QStringLiteral("CommandConsoleForm"));
    QCOMPARE(console->windowTitle(), QStringLiteral("Console"));
    QPlainTextEdit *pane = console->findChild<QPlainTextEdit *>("plainTextEdit");
    QLineEdit *line = console->findChild<QLineEdit *>("linCommand");
    QVERIFY(pane && line);
    QVERIFY(pane->isReadOnly());
    QCOMPARE(pane->focusPolicy(), Qt::NoFocus);
    QVERIFY(!pane->acceptDrops());
}

void TestCommandConsole::typedLineIsEchoedAndSubmitted()
{
    console->inputField()->setText(QStringLiteral("hello"));
    console->enterPressed();
    QCOMPARE(console->outputPane()->toPlainText(), QStringLiteral("hello"));
    QVERIFY(console->inputField()->text().isEmpty());
    QCOMPARE(console->getHistory(), QStringList{QStringLiteral("hello")});
    QCOMPARE(fixture->workspace.getConsoleInput().getLastInput(), std::string("hello"));
}

void TestCommandConsole::emptyEnterAnswersPendingEnter()
{
    EnterOperation op(fixture->workspace);
    fixture->workspace.getConsoleInput().requestEnter(&op);
    console->enterPressed();
    QCOMPARE(op.executed, 1);
    QVERIFY(console->outputPane()->toPlainText().isEmpty());
    QVERIFY(console->getHistory().isEmpty());
}

void TestCommandConsole::historyWalk()
{
    // The arrow keys, as U and D, and what the field shows after each.
    auto walk = [this](const char *keys) {
        QStringList shown;
        for (const char *key = keys; *key; ++key) {
            *key == 'U' ? console->upArrowPressed() : console->downArrowPressed();
            shown << console->inputField()->text();
        }
        return shown;
    };
    // Without a history the draft stays up and is cleared down.
    console->inputField()->setText(QStringLiteral("draft"));
    QCOMPARE(walk("UD"), (QStringList{"draft", ""}));
    for (const char *line : {"first", "second", "third"}) {
        console->inputField()->setText(QLatin1String(line));
        console->enterPressed();
    }
    QCOMPARE(walk("UUUUDDD"),
             (QStringList{"third", "second", "first", "first", "first", "second", ""}));
}

void TestCommandConsole::messagesAppear()
{
    fixture->workspace.getConsoleInput().writeMessage("Move: Operation canceled");
    fixture->workspace.getConsoleInput().writeMessage("");
    QCOMPARE(console->outputPane()->toPlainText(), QStringLiteral("Move: Operation canceled"));
}

void TestCommandConsole::keyboardDrivesTheHistory()
{
    // No window manager under Xvfb: make the console the active window by hand.
    QApplication::setActiveWindow(console);
    console->inputField()->setFocus();
    QTest::keyClicks(console->inputField(), QStringLiteral("1, 2, 3"));
    QTest::keyClick(console->inputField(), Qt::Key_Return);
    QCOMPARE(console->getHistory(), QStringList{QStringLiteral("1, 2, 3")});
    QTest::keyClick(console->inputField(), Qt::Key_Up);
    QCOMPARE(console->inputField()->text(), QStringLiteral("1, 2, 3"));
    QTest::keyClick(console->inputField(), Qt::Key_Down);
    QCOMPARE(console->inputField()->text(), QString());
}

CELVANE_GUI_TEST_MAIN(TestCommandConsole)
#include "tst_commandconsole.moc"
