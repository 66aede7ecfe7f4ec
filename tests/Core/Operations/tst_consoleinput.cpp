#include "testmain.h"
#include "workspacetestutil.h"

using namespace Core::Operations;

namespace {

/// Waits for one typed answer and counts how often it was stepped.
class WaitingOperation : public Operation
{
public:
    explicit WaitingOperation(Workspace &w) : Operation(w, "Waiting", 900) {}
    void execute() override { ++executed; }
    void cancel() override { ++cancelled; }
    void end() override { ++ended; }
    int executed = 0;
    int cancelled = 0;
    int ended = 0;
};

} // namespace

class TestConsoleInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numbers_data();
    void numbers();
    void coordinates_data();
    void coordinates();
    void textIsCopied();
    void emptyLineIsNoAnswer();
    void enterRequest();
    void failedParseFallsToEnterRule();
    void commandWordsDoNothing_data();
    void commandWordsDoNothing();
    void newRequesterEndsWaitingOne();
    void emptyMessageStillStored();
};

void TestConsoleInput::numbers_data()
{
    QTest::addColumn<bool>("integer");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");
    QTest::newRow("digits") << true << "42" << true << 42.0;
    QTest::newRow("plus sign") << true << "+7" << true << 7.0;
    QTest::newRow("minus sign") << true << "-13" << true << -13.0;
    QTest::newRow("decimal point") << true << "4.0" << false << 0.0;
    QTest::newRow("leading blank") << true << " 4" << false << 0.0;
    QTest::newRow("trailing letter") << true << "4a" << false << 0.0;
    QTest::newRow("beyond int") << true << "2147483648" << false << 0.0;
    QTest::newRow("int max") << true << "2147483647" << true << 2147483647.0;
    QTest::newRow("float") << false << "2.5" << true << 2.5;
    QTest::newRow("exponent") << false << "1e3" << true << 1000.0;
    QTest::newRow("negative exponent") << false << "-2.5E-1" << true << -0.25;
    QTest::newRow("ends in e") << false << "1e" << false << 0.0;
    QTest::newRow("ends in sign") << false << "1e+" << false << 0.0;
    QTest::newRow("comma") << false << "2,5" << false << 0.0;
    QTest::newRow("word") << false << "abc" << false << 0.0;
}

void TestConsoleInput::numbers()
{
    QFETCH(bool, integer);
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    WorkspaceFixture f;
    WaitingOperation op(f.workspace);
    ConsoleInput &input = f.workspace.getConsoleInput();
    int whole = 0;
    double real = 0.0;
    bool received = false;
    input.requestCoordinates(&op, nullptr, &received); // sets the requester and the flag
    input.setIntegerTarget(&whole);
    input.setFloatTarget(&real);
    input.setType(integer ? ConsoleInput::Integer : ConsoleInput::Float);
    input.submitLine(line.toStdString());
    QCOMPARE(received, accepted);
    QCOMPARE(op.executed, accepted ? 1 : 0);
    QCOMPARE(integer ? double(whole) : real, value);
    QCOMPARE(integer ? real : double(whole), 0.0); // the other target is left alone
    if (!accepted) {
        QCOMPARE(f.recorder->last(),
                 integer ? QStringLiteral("Invalid entry. Please enter an intenger")
                         : QStringLiteral("Invalid entry. Please enter a floating point value"));
        QCOMPARE(input.getRequester(), &op);
    } else {
        QCOMPARE(input.getRequester(), static_cast<Operation *>(nullptr));
    }
}

void TestConsoleInput::coordinates_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<Util::Vector4D>("value");
    QTest::newRow("no blanks") << "1,2,3" << true << Util::Vector4D(1, 2, 3, 0);
    QTest::newRow("blanks") << "1 , -2.5 ,  3e1" << true << Util::Vector4D(1, -2.5, 30, 0);
    QTest::newRow("trailing text ignored")
        << "1, 0, 0 metres" << true << Util::Vector4D(1, 0, 0, 0);
    QTest::newRow("blanks only") << "1 2 3" << false << Util::Vector4D(1, 0, 0, 0);
    QTest::newRow("two numbers") << "4, 5" << false << Util::Vector4D(4, 5, 0, 0);
    QTest::newRow("text") << "x, y, z" << false << Util::Vector4D(0, 0, 0, 0);
}

void TestConsoleInput::coordinates()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    QFETCH(Util::Vector4D, value);
    WorkspaceFixture f;
    WaitingOperation op(f.workspace);
    Util::Vector3D target;
    bool received = true;
    f.workspace.getConsoleInput().requestCoordinates(&op, &target, &received);
    QVERIFY(!received); // cleared by the request
    f.type(line.toLatin1().constData());
    QCOMPARE(received, accepted);
    QCOMPARE(op.executed, accepted ? 1 : 0);
    // Components read before a failure stay written.
    QCOMPARE(Util::Vector4D(target), value);
    if (!accepted)
        QCOMPARE(f.recorder->last(),
                 QStringLiteral("Invalid entry. Enter the x, y, z coordinates."));
}

void TestConsoleInput::textIsCopied()
{
    WorkspaceFixture f;
    WaitingOperation op(f.workspace);
    std::string text;
    f.workspace.getConsoleInput().requestText(&op, &text);
    f.type("  some text, with 3 numbers ");
    QCOMPARE(QString::fromStdString(text), QStringLiteral("  some text, with 3 numbers "));
    QCOMPARE(op.executed, 1);
}

void TestConsoleInput::emptyLineIsNoAnswer()
{
    WorkspaceFixture f;
    WaitingOperation op(f.workspace);
    Util::Vector3D target(7, 7, 7);
    bool received = false;
    f.workspace.getConsoleInput().requestCoordinates(&op, &target, &received);
    f.type("");
    QCOMPARE(op.executed, 0);
    QVERIFY(!received);
    QCOMPARE(f.workspace.getConsoleInput().getRequester(), &op);
    QVERIFY(f.recorder->messages.isEmpty());
}

void TestConsoleInput::enterRequest()
{
    WorkspaceFixture f;
    WaitingOperation op(f.workspace);
    ConsoleInput &input = f.workspace.getConsoleInput();
    input.requestEnter(&op);
    QVERIFY(input.isEnterRequested());
    f.type("");
    QCOMPARE(op.executed, 1);
    QVERIFY(!input.isEnterRequested());
    QCOMPARE(input.getRequester(), static_cast<Operation *>(nullptr));
    f.type(""); // nobody waits any more
    QCOMPARE(op.executed, 1);
    // A line of text satisfies a pending Enter too.
    input.requestEnter(&op);
    f.type("anything");
    QCOMPARE(op.executed, 2);
}

void TestConsoleInput::failedParseFallsToEnterRule()
{
    // An operation that waits for Enter and for coordinates: a bad line reports the error
    // and still counts as the Enter.
    WorkspaceFixture f;
    WaitingOperation op(f.workspace);
    ConsoleInput &input = f.workspace.getConsoleInput();
    Util::Vector3D target;
    bool received = false;
    input.requestCoordinates(&op, &target, &received);
    input.requestEnter(&op);
    f.type("not coordinates");
    QCOMPARE(f.recorder->last(), QStringLiteral("Invalid entry. Enter the x, y, z coordinates."));
    QVERIFY(!received);
    QCOMPARE(op.executed, 1);
}

void TestConsoleInput::commandWordsDoNothing_data()
{
    QTest::addColumn<QString>("line");
    for (const char *word : {"undo", "redo", "move", "del", "set view", "+", "rect", "Undo"})
        QTest::newRow(word) << QString::fromLatin1(word);
}

void TestConsoleInput::commandWordsDoNothing()
{
    QFETCH(QString, line);
    WorkspaceFixture f;
    const Model::Automaton::TotalVolume::Ptr v = f.addVolume();
    // A finished operation on the stack: a typed "undo" must not revert it.
    f.pick(v);
    f.workspace.startOperation(7);
    f.type("1, 0, 0");
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
    const int updates = f.updates->count;
    const int messages = f.recorder->messages.size();
    QCOMPARE(ConsoleInput::isCommandWord(line.toStdString()), line != QLatin1String("Undo"));
    f.type(line.toLatin1().constData());
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
    QCOMPARE(f.workspace.getHistory().redoCount(), 0);
    QCOMPARE(v->getPosition(), Util::Vector4D(1, 0, 0, 0));
    QCOMPARE(f.updates->count, updates);
    QCOMPARE(f.recorder->messages.size(), messages);
    QVERIFY(!f.workspace.getCurrentOperation());
}

void TestConsoleInput::newRequesterEndsWaitingOne()
{
    WorkspaceFixture f;
    WaitingOperation first(f.workspace);
    WaitingOperation second(f.workspace);
    ConsoleInput &input = f.workspace.getConsoleInput();
    input.requestEnter(&first);
    input.requestEnter(&first); // the same operation asking again is not ended
    QCOMPARE(first.ended, 0);
    std::string text;
    input.requestText(&second, &text);
    QCOMPARE(first.ended, 1);
    QCOMPARE(input.getRequester(), &second);
}

void TestConsoleInput::emptyMessageStillStored()
{
    WorkspaceFixture f;
    f.workspace.getConsoleInput().writeMessage("");
    QCOMPARE(f.recorder->messages.size(), 1);
    QCOMPARE(f.workspace.getConsoleInput().getLastMessage(), std::string());
}

CELVANE_TEST_MAIN(TestConsoleInput)
#include "tst_consoleinput.moc"
