#include "Core/Operations/documentfile.h"
#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"
#include "testmain.h"
#include "workspacetestutil.h"

#include <QFile>
#include <QProcess>

using Model::Automaton::TotalVolume;

namespace {

struct Outcome
{
    int exitCode = -1;
    QStringList errorLines;
};

/// Runs the program with no display at all; platform, when not empty, is QT_QPA_PLATFORM.
Outcome runProgram(const QStringList &arguments, const QString &workingDirectory,
                   const QString &platform = QStringLiteral("offscreen"))
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("CELVANE_DEBUG"));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("HOME"), workingDirectory);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(CELVANE_EXECUTABLE), arguments);
    Outcome outcome;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.errorLines = QString::fromLocal8Bit(process.readAllStandardError())
                             .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return outcome;
}

QString example(const char *name)
{
    return QStringLiteral(CELVANE_EXAMPLES "/") + QLatin1String(name);
}

/// The cell volumes of a saved document, in document order.
QList<TotalVolume::Ptr> volumesOf(Core::Operations::Workspace &workspace, const QString &file)
{
    QList<TotalVolume::Ptr> volumes;
    if (Core::Operations::DocumentFile::readDocument(file, workspace) !=
        Core::Operations::DocumentFile::Read)
        return volumes;
    for (const auto &object : workspace.getDocument().getObjects())
        if (TotalVolume::Ptr v = boost::dynamic_pointer_cast<TotalVolume>(object))
            volumes.append(v);
    return volumes;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

/// The program run from a shell: a process list without any display, its exit codes and
/// the document it saves.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cantileverExampleRunsWithoutDisplay_data();
    void cantileverExampleRunsWithoutDisplay();
    void listRunsOnTheOpenedDocumentsFirstVolume();
    void aSkippedStepEndsWithOne();
    void badArgumentsAndUnreadableFilesEndWithTwo_data();
    void badArgumentsAndUnreadableFilesEndWithTwo();
    void helpAndVersion();
};

void TestCommandLine::cantileverExampleRunsWithoutDisplay_data()
{
    QTest::addColumn<QString>("platform");
    QTest::newRow("offscreen") << "offscreen";
    QTest::newRow("no platform named") << "";
}

void TestCommandLine::cantileverExampleRunsWithoutDisplay()
{
    QFETCH(QString, platform);
    WorkspaceFixture f;
    const QString output = f.directory.path() + "/cantilever.clv";
    const Outcome run =
        runProgram({"--batch", example("cantilever.plst"), "--save", output, "--threads", "2"},
                   f.directory.path(), platform);
    QCOMPARE(run.exitCode, 0);
    // One progress line per step: number, type, time.
    QCOMPARE(
        run.errorLines.filter(QRegularExpression("^Step \\d+/12 .+: ran \\(\\d+\\.\\d\\d s\\)$"))
            .size(),
        12);
    QVERIFY(run.errorLines.first().startsWith("Step 1/12 Create Substrate: ran ("));

    const QList<TotalVolume::Ptr> volumes = volumesOf(f.workspace, output);
    QCOMPARE(volumes.size(), 1);
    const TotalVolume::Ptr v = volumes.first();
    QCOMPARE(v->getCellsX(), 48u);
    // Silicon below z = 8; the poly-Si beam (x < 40, 8 <= y < 16) two layers thick on the
    // sacrificial oxide's height, anchored on the silicon at x < 8; the oxide and resist gone.
    QCOMPARE(cellAt(v, 20, 12, 7), 1u);
    QCOMPARE(cellAt(v, 3, 12, 8), 16u);
    QCOMPARE(cellAt(v, 20, 12, 8), 0u);
    QCOMPARE(cellAt(v, 20, 12, 9), 0u);
    QCOMPARE(cellAt(v, 20, 12, 10), 16u);
    QCOMPARE(cellAt(v, 39, 12, 11), 16u);
    QCOMPARE(cellAt(v, 44, 12, 10), 0u);
    QCOMPARE(cellAt(v, 20, 4, 10), 0u);
    QCOMPARE(cellAt(v, 3, 4, 8), 0u);
    QCOMPARE(count(v, 3), quint64(0));
    QCOMPARE(count(v, 11), quint64(0));
}

void TestCommandLine::listRunsOnTheOpenedDocumentsFirstVolume()
{
    WorkspaceFixture f;
    const QList<TotalVolume::Ptr> before = volumesOf(f.workspace, example("two-volumes.clv"));
    QCOMPARE(before.size(), 2);
    f.workspace.getDocument().clear();
    // Everything below height 0 goes: an empty first volume, whatever it held.
    writeFile(f.directory.path() + "/empty.plst",
              "<Process-List><Process-Data process-type=\"6\">"
              "<Parameter parameter-name=\"Maximum Height\" parameter-type=\"uint\" "
              "parameter-data=\"0\" parameter-visibility=\"true\"/>"
              "<Parameter parameter-name=\"Minimum Height\" parameter-type=\"uint\" "
              "parameter-data=\"0\" parameter-visibility=\"true\"/></Process-Data></Process-List>");
    const QString output = f.directory.path() + "/out.clv";
    const Outcome run = runProgram(
        {"--batch", "empty.plst", "--open", example("two-volumes.clv"), "--save", output},
        f.directory.path());
    QCOMPARE(run.exitCode, 0);
    const QList<TotalVolume::Ptr> after = volumesOf(f.workspace, output);
    QCOMPARE(after.size(), 2);
    QCOMPARE(count(after.at(0), 0), after.at(0)->getCellCount());
    QVERIFY(cellsOf(after.at(1)) == cellsOf(before.at(1)));
}

void TestCommandLine::aSkippedStepEndsWithOne()
{
    WorkspaceFixture f;
    QFile cantilever(example("cantilever.plst"));
    QVERIFY(cantilever.open(QIODevice::ReadOnly));
    QByteArray list = cantilever.readAll();
    // The sacrificial oxide's thickness is no number.
    const int at = list.indexOf("parameter-data=\"2\"", list.indexOf("process-type=\"4\""));
    QVERIFY(at > 0);
    list.replace(at, 18, "parameter-data=\"two\"");
    writeFile(f.directory.path() + "/bad.plst", list);
    const QString output = f.directory.path() + "/bad.clv";
    const Outcome run = runProgram({"--batch", "bad.plst", "--save", output}, f.directory.path());
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errorLines.at(1),
             QStringLiteral("Step 2/12 CVD: skipped: parameter \"Thickness\" is not a number "
                            "(0.00 s)"));
    QVERIFY(run.errorLines.last().startsWith("celvane: Step 2 (CVD) skipped"));
    QVERIFY(run.errorLines.last().endsWith("(11 of 12 steps ran.)"));
    QVERIFY(QFile::exists(output)); // the steps that ran are kept
}

void TestCommandLine::badArgumentsAndUnreadableFilesEndWithTwo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("missing list") << QStringList{"--batch", "missing.plst"};
    QTest::newRow("missing document")
        << QStringList{"--batch", example("cantilever.plst"), "--open", "missing.clv"};
    QTest::newRow("not a list") << QStringList{"--batch", example("two-volumes.clv")};
    QTest::newRow("unknown option") << QStringList{"--batch", example("cantilever.plst"), "--fast"};
    QTest::newRow("no threads") << QStringList{"--batch", example("cantilever.plst"), "--threads",
                                               "0"};
    QTest::newRow("save without batch") << QStringList{"--save", "x.clv"};
}

void TestCommandLine::badArgumentsAndUnreadableFilesEndWithTwo()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    const Outcome run = runProgram(arguments, dir.path());
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.errorLines.size(), 1);
    QVERIFY(run.errorLines.first().startsWith("celvane: "));
}

void TestCommandLine::helpAndVersion()
{
    QTemporaryDir dir;
    QProcess process;
    process.start(QStringLiteral(CELVANE_EXECUTABLE), {"--version"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(process.readAllStandardOutput().startsWith("celvane "));
    process.start(QStringLiteral(CELVANE_EXECUTABLE), {"--help"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QByteArray help = process.readAllStandardOutput();
    for (const char *option : {"--batch", "--open", "--save", "--threads", "FILE.clv"})
        QVERIFY2(help.contains(option), option);
}

CELVANE_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
