#include "Core/Operations/ModelExtraction/runmodelextraction.h"
#include "Core/Operations/documentfile.h"
#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/ModelExtraction/rectangularcuboidenvelope.h"
#include "testmain.h"
#include "workspacetestutil.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>

using Model::Automaton::TotalVolume;

namespace {

struct Outcome
{
    int exitCode = -1;
    QStringList errorLines;
    QByteArray output;
};

/// Runs the program with no display at all; platform, when not empty, is QT_QPA_PLATFORM.
Outcome runProgram(const QStringList &arguments, const QString &workingDirectory,
                   const QString &platform = QStringLiteral("offscreen"),
                   const QString &program = QStringLiteral(CELVANE_EXECUTABLE),
                   const QMap<QString, QString> &variables = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("CELVANE_DEBUG"));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("HOME"), workingDirectory);
    for (auto it = variables.constBegin(); it != variables.constEnd(); ++it)
        environment.insert(it.key(), it.value());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    Outcome outcome;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.output = process.readAllStandardOutput();
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

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Runs a script of examples/sweeps with bash, the built program named by CELVANE.
Outcome runSweepScript(const char *script, const QStringList &arguments, const QString &directory,
                       QMap<QString, QString> variables = {})
{
    variables.insert(QStringLiteral("CELVANE"), QStringLiteral(CELVANE_EXECUTABLE));
    return runProgram(QStringList{example("sweeps/") + QLatin1String(script)} + arguments,
                      directory, QStringLiteral("offscreen"), QStringLiteral("bash"), variables);
}

/// The rows of a CSV file without its header, which goes to header.
QList<QStringList> csvRows(const QString &path, QStringList *header)
{
    QList<QStringList> rows;
    for (const QByteArray &line : readFile(path).split('\n'))
        if (!line.isEmpty())
            rows.append(QString::fromUtf8(line).split(QLatin1Char(',')));
    if (!rows.isEmpty())
        *header = rows.takeFirst();
    return rows;
}

const char emptyList[] = "<Process-List/>";

} // namespace

/// The program run from a shell: a process list without any display, its exit codes and
/// the document it saves.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cantileverExampleRunsWithoutDisplay();
    void listRunsOnTheOpenedDocumentsFirstVolume();
    void aSkippedStepEndsWithOne();
    void savedImageIsFramed();
    void badArgumentsAndUnreadableFilesEndWithTwo_data();
    void badArgumentsAndUnreadableFilesEndWithTwo();
    void helpAndVersion();
    void stoppingSignalsRemoveTheUndoRecords_data();
    void stoppingSignalsRemoveTheUndoRecords();
    void overridesRunAsTheEditedListWould();
    void measurementsOfAHandBuiltVolume();
    void exportsAfterBatchAndFromADocument();
    void sweepWithGnuParallelIsMonotonic();
    void slurmScriptRunsOneTaskByHand();
};

void TestCommandLine::cantileverExampleRunsWithoutDisplay()
{
    WorkspaceFixture f;
    const QString output = f.directory.path() + "/cantilever.clv";
    const Outcome run =
        runProgram({"--batch", example("cantilever.plst"), "--save", output, "--threads", "2"},
                   f.directory.path(), QString()); // no display and no platform named
    QCOMPARE(run.exitCode, 0);
    // One progress line per step: number, type, time.
    QCOMPARE(
        run.errorLines.filter(QRegularExpression("^Step \\d+/13 .+: ran \\(\\d+\\.\\d\\d s\\)$"))
            .size(),
        13);
    QVERIFY(run.errorLines.first().startsWith("Step 1/13 Create Substrate: ran ("));

    const QList<TotalVolume::Ptr> volumes = volumesOf(f.workspace, output);
    QCOMPARE(volumes.size(), 1);
    const TotalVolume::Ptr v = volumes.first();
    QCOMPARE(v->getCellsX(), 48u);
    // Silicon below z = 8; the poly-Si beam (x < 40, 8 <= y < 16) two layers thick on the
    // sacrificial oxide's height, anchored on the silicon at x < 8, where the poly-Si fills the
    // opening in the oxide up to the planarized top (z = 12); the oxide and resist gone.
    QCOMPARE(cellAt(v, 20, 12, 7), 1u);
    QCOMPARE(cellAt(v, 3, 12, 8), 16u);
    QCOMPARE(cellAt(v, 3, 12, 11), 16u);
    QCOMPARE(cellAt(v, 3, 12, 12), 0u);
    QCOMPARE(cellAt(v, 20, 12, 8), 0u);
    QCOMPARE(cellAt(v, 20, 12, 9), 0u);
    QCOMPARE(cellAt(v, 20, 12, 10), 16u);
    QCOMPARE(cellAt(v, 39, 12, 11), 16u);
    QCOMPARE(cellAt(v, 44, 12, 10), 0u);
    QCOMPARE(cellAt(v, 20, 4, 10), 0u);
    QCOMPARE(cellAt(v, 3, 4, 8), 0u);
    QCOMPARE(count(v, 3), quint64(0));
    QCOMPARE(count(v, 11), quint64(0));

    // The model extraction finds the released part as one beam: from the anchor's edge to the
    // tip, 32 x 8 x 2 cells of poly-Si.
    offerPlain<Core::Operations::RunModelExtraction>(f, 1000);
    f.workspace.startOperation(1000);
    f.pick(v);
    f.type("");
    auto op = boost::dynamic_pointer_cast<Core::Operations::RunModelExtraction>(
        f.workspace.getCurrentOperation());
    QVERIFY(op && op->runPreprocessing() && op->runFeatureDetection());
    const auto beams = op->getDetectedModel()->getEnvelopes();
    QCOMPARE(beams.size(), 1);
    QCOMPARE((std::vector<quint32>{beams[0]->x, beams[0]->y, beams[0]->z, beams[0]->sizeX,
                                   beams[0]->sizeY, beams[0]->sizeZ, beams[0]->material}),
             (std::vector<quint32>{8, 8, 10, 32, 8, 2, 16}));
}

void TestCommandLine::stoppingSignalsRemoveTheUndoRecords_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("logout or kill") << int(SIGTERM);
    QTest::newRow("Ctrl+C") << int(SIGINT);
    QTest::newRow("terminal closed") << int(SIGHUP);
}

void TestCommandLine::stoppingSignalsRemoveTheUndoRecords()
{
    QFETCH(int, signal);
    QTemporaryDir directory;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), directory.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(directory.path());
    process.start(QStringLiteral(CELVANE_EXECUTABLE), QStringList());
    QVERIFY(process.waitForStarted());
    const QStringList records{QStringLiteral("undo*.temp"), QStringLiteral("redo*.temp")};
    QTRY_COMPARE_WITH_TIMEOUT(QDir(directory.path()).entryList(records).size(), 2, 30000);
    // A pid of 0 would signal this test's own process group.
    QCOMPARE(process.state(), QProcess::Running);
    QVERIFY(process.processId() > 0);
    ::kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(30000));
    // Ended by the signal, as without a handler; only the records are gone.
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(QDir(directory.path()).entryList(records), QStringList());
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
             QStringLiteral("Step 2/13 CVD: skipped: parameter \"Thickness\" is not a number "
                            "(0.00 s)"));
    QVERIFY(run.errorLines.last().startsWith("celvane: Step 2 (CVD) skipped"));
    QVERIFY(run.errorLines.last().endsWith("(12 of 13 steps ran.)"));
    QVERIFY(QFile::exists(output)); // the steps that ran are kept

    // A substrate too large for any memory: the failure is the reason given for having no volume.
    const Outcome huge = runProgram({"--batch", example("sweeps/pit.plst"), "--set",
                                     "1:Volume Size X=4000000000", "--export-vti", "huge.vti"},
                                    f.directory.path());
    QCOMPARE(huge.exitCode, 1);
    QVERIFY2(huge.errorLines.last().startsWith("celvane: no cell volume to export: Step 1 (Create "
                                               "Substrate) failed: Cannot create a cell volume"),
             qPrintable(huge.errorLines.last()));
}

void TestCommandLine::savedImageIsFramed()
{
    WorkspaceFixture f;
    // Without a display the picture is skipped, saying how to get it.
    const Outcome headless = runProgram({"--batch", example("membrane.plst")}, f.directory.path());
    QCOMPARE(headless.exitCode, 1);
    QVERIFY2(headless.errorLines.last().contains("xvfb-run"),
             qPrintable(headless.errorLines.last()));
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        QSKIP("a Save Image step needs a display");
    // The membrane flow ends with a Save Image step writing membrane.png; the batch draws
    // off-screen, with the display's OpenGL.
    const Outcome run = runProgram({"--batch", example("membrane.plst")}, f.directory.path(),
                                   QStringLiteral("offscreen"), QStringLiteral(CELVANE_EXECUTABLE),
                                   {{QStringLiteral("DISPLAY"), QString::fromLocal8Bit(display)}});
    QCOMPARE(run.exitCode, 0);
    const QImage image(f.directory.path() + "/membrane.png");
    QVERIFY(!image.isNull());
    // The volume fills the middle of the picture, not a corner of it.
    const QRgb background = image.pixel(0, 0);
    for (const QPoint &p : {QPoint(image.width() / 2, image.height() / 2),
                            QPoint(image.width() / 3, image.height() / 2),
                            QPoint(image.width() * 2 / 3, image.height() / 2)})
        QVERIFY2(image.pixel(p) != background,
                 qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
}

void TestCommandLine::badArgumentsAndUnreadableFilesEndWithTwo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    const QString pit = example("sweeps/pit.plst");
    QTest::newRow("set: no such step")
        << QStringList{"--batch", pit, "--set", "6:Depth=1"} << "the list has no step 6 (it has 5)";
    QTest::newRow("set: step 0") << QStringList{"--batch", pit, "--set", "0:Depth=1"}
                                 << "the list has no step 0";
    QTest::newRow("set: name of another type")
        << QStringList{"--batch", pit, "--set", "4:Thickness=1"}
        << "step 4 (Isotropic etching) has no parameter \"Thickness\"";
    QTest::newRow("set: no number")
        << QStringList{"--batch", pit, "--set", "4:Depth=deep"} << "\"deep\" is no double value";
    QTest::newRow("set: decimal comma")
        << QStringList{"--batch", pit, "--set", "4:Depth=2,5"} << "\"2,5\" is no double value";
    QTest::newRow("set: not finite")
        << QStringList{"--batch", pit, "--set", "4:Depth=inf"} << "is no double value";
    QTest::newRow("set: negative count")
        << QStringList{"--batch", example("cantilever.plst"), "--set", "5:Etch Depth=-1"}
        << "\"-1\" is no uint value";
    QTest::newRow("set: no step") << QStringList{"--batch", pit, "--set", "Depth=1"}
                                  << "--set needs STEP:NAME=VALUE";
    QTest::newRow("cd: unknown material")
        << QStringList{"--batch", pit, "--measure", "m.json", "--cd", "Unobtainium@3"}
        << "no material is named \"Unobtainium\"";
    QTest::newRow("cd: no layer") << QStringList{"--batch", pit,    "--measure",
                                                 "m.json",  "--cd", "Si"}
                                  << "--cd needs MATERIAL@Z";
    QTest::newRow("probe without measure")
        << QStringList{"--batch", pit, "--probe", "1,1"} << "give --measure FILE.json as well";
    QTest::newRow("measure without batch")
        << QStringList{"--measure", "m.json"} << "--measure is only for --batch";
    QTest::newRow("missing list") << QStringList{"--batch", "missing.plst"} << QString();
    QTest::newRow("missing document")
        << QStringList{"--batch", example("cantilever.plst"), "--open", "missing.clv"} << QString();
    QTest::newRow("not a list") << QStringList{"--batch", example("two-volumes.clv")} << QString();
    QTest::newRow("unknown option")
        << QStringList{"--batch", example("cantilever.plst"), "--fast"} << QString();
    QTest::newRow("no threads") << QStringList{"--batch", example("cantilever.plst"), "--threads",
                                               "0"}
                                << QString();
    QTest::newRow("save without batch") << QStringList{"--save", "x.clv"} << QString();
    QTest::newRow("cross section without its file")
        << QStringList{"--batch", pit, "--cross-section", "z:1"} << "needs the file of its picture";
    QTest::newRow("cross section on no axis")
        << QStringList{"--batch", pit, "--cross-section", "q:1", "q.png"} << "x, y or z";
    QTest::newRow("export without volume source")
        << QStringList{"--export-vti", "x.vti"} << "nothing to export";
}

void TestCommandLine::badArgumentsAndUnreadableFilesEndWithTwo()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const Outcome run = runProgram(arguments, dir.path());
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.errorLines.size(), 1);
    QVERIFY(run.errorLines.first().startsWith("celvane: "));
    QVERIFY2(run.errorLines.first().contains(reason), qPrintable(run.errorLines.first()));
}

void TestCommandLine::helpAndVersion()
{
    QTemporaryDir dir;
    const Outcome version = runProgram({"--version"}, dir.path());
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.output.startsWith("celvane "));
    const Outcome help = runProgram({"--help"}, dir.path());
    QCOMPARE(help.exitCode, 0);
    for (const char *option : {"--batch", "--open", "--save", "--threads", "--set", "--measure",
                               "--probe", "--cd", "FILE.clv"})
        QVERIFY2(help.output.contains(option), option);
}

void TestCommandLine::overridesRunAsTheEditedListWould()
{
    WorkspaceFixture f;
    const QByteArray list = readFile(example("sweeps/pit.plst"));
    // Step 4 (the silicon etch) is the first Depth of 4 in the list.
    const QByteArray stored = "parameter-name=\"Depth\" parameter-type=\"double\" "
                              "parameter-data=\"4\"";
    const int at = list.indexOf(stored);
    QVERIFY(at > list.indexOf("process-type=\"5\""));
    QList<std::vector<quint32>> overridden, edited;
    for (const char *depth : {"2", "5.5"}) {
        const QString name = f.directory.path() + "/" + depth;
        QByteArray changed = list;
        changed.replace(at, stored.size(),
                        "parameter-name=\"Depth\" parameter-type=\"double\" parameter-data=\"" +
                            QByteArray(depth) + "\"");
        writeFile(name + ".plst", changed);
        QCOMPARE(runProgram({"--batch", name + ".plst", "--save", name + "-edited.clv"},
                            f.directory.path())
                     .exitCode,
                 0);
        // A decimal point, whatever the locale says.
        QCOMPARE(runProgram({"--batch", example("sweeps/pit.plst"), "--set",
                             "4:Depth=" + QString::fromLatin1(depth), "--save", name + "-set.clv"},
                            f.directory.path(), QStringLiteral("offscreen"),
                            QStringLiteral(CELVANE_EXECUTABLE), {{"LC_ALL", "de_DE.UTF-8"}})
                     .exitCode,
                 0);
        for (auto pair :
             {std::make_pair(&edited, "-edited.clv"), std::make_pair(&overridden, "-set.clv")}) {
            const QList<TotalVolume::Ptr> volumes = volumesOf(f.workspace, name + pair.second);
            QCOMPARE(volumes.size(), 1);
            pair.first->append(cellsOf(volumes.first()));
            f.workspace.getDocument().clear();
        }
    }
    QVERIFY(overridden.at(0) == edited.at(0));
    QVERIFY(overridden.at(1) == edited.at(1));
    QVERIFY(overridden.at(0) != overridden.at(1));
}

void TestCommandLine::measurementsOfAHandBuiltVolume()
{
    WorkspaceFixture f;
    // 6 x 5 x 8 cells of 1: silicon below z = 3 with a hole in its top layer at x = 2..3,
    // y = 1..3 (6 columns two layers high, the others three).
    TotalVolume::Ptr v = f.addLayered(3, 8, 1);
    Model::Automaton::Voxel *cells = v->lockCells();
    Model::Automaton::Voxel *next = v->lockNextCells();
    for (quint32 x = 2; x <= 3; ++x)
        for (quint32 y = 1; y <= 3; ++y)
            cells[v->getCellIndex(x, y, 2)].material = next[v->getCellIndex(x, y, 2)].material = 0;
    v->releaseNextCells();
    v->releaseCells();
    QVERIFY(Core::Operations::DocumentFile::writeDocument(f.directory.path() + "/hole.clv",
                                                          f.workspace));
    writeFile(f.directory.path() + "/empty.plst", emptyList);
    const Outcome run = runProgram({"--batch", "empty.plst", "--open", "hole.clv", "--measure",
                                    "m.json", "--cd", "Si@2", "--cd", "1@1", "--probe", "2,2"},
                                   f.directory.path());
    QCOMPARE(run.exitCode, 0);
    const QJsonObject m =
        QJsonDocument::fromJson(readFile(f.directory.path() + "/m.json")).object();
    QCOMPARE(m["units"].toObject()["length"].toString(),
             QStringLiteral("world units: a cell is cellSize long"));
    QCOMPARE(m["processList"].toString(), QStringLiteral("empty.plst"));

    const QJsonArray materials = m["materials"].toArray();
    QCOMPARE(materials.size(), 2);
    QCOMPARE(materials[1].toObject()["name"].toString(), QStringLiteral("Si"));
    QCOMPARE(materials[1].toObject()["cells"].toDouble(), 84.0);
    QCOMPARE(materials[1].toObject()["volume"].toDouble(), 84.0);
    QCOMPARE(materials[0].toObject()["cells"].toDouble(), 240.0 - 84.0);

    const QJsonObject probe = m["probe"].toObject();
    QCOMPARE(probe["x"].toDouble(), 2.0);
    const QJsonArray films = probe["films"].toArray();
    QCOMPARE(films.size(), 1);
    QCOMPARE(films[0].toObject()["thickness"].toDouble(), 2.0);
    const QJsonObject range = films[0].toObject()["ranges"].toArray()[0].toObject();
    QCOMPARE(range["bottom"].toDouble(), 0.0);
    QCOMPARE(range["top"].toDouble(), 2.0);

    const QJsonObject top = m["topSurface"].toObject();
    QCOMPARE(top["min"].toDouble(), 2.0);
    QCOMPARE(top["max"].toDouble(), 3.0);
    QCOMPARE(top["mean"].toDouble(), (6 * 2.0 + 24 * 3.0) / 30.0);

    // The hole: 2 wide along x on three lines of y, 3 wide along y on two lines of x.
    const QJsonArray openings = m["openings"].toArray();
    QCOMPARE(openings.size(), 2);
    const QJsonObject hole = openings[0].toObject();
    QCOMPARE(hole["bottom"].toDouble(), 2.0);
    QCOMPARE(hole["top"].toDouble(), 3.0);
    QCOMPARE(hole["x"].toObject()["count"].toDouble(), 3.0);
    QCOMPARE(hole["x"].toObject()["mean"].toDouble(), 2.0);
    QCOMPARE(hole["y"].toObject()["count"].toDouble(), 2.0);
    QCOMPARE(hole["y"].toObject()["max"].toDouble(), 3.0);
    // A full layer has no openings, and no width.
    QCOMPARE(openings[1].toObject()["x"].toObject()["count"].toDouble(), 0.0);
    QVERIFY(openings[1].toObject()["x"].toObject()["max"].isNull());
}

void TestCommandLine::exportsAfterBatchAndFromADocument()
{
    WorkspaceFixture f;
    f.addLayered(3, 8, 1); // 6 x 5 x 8 cells
    QVERIFY(Core::Operations::DocumentFile::writeDocument(f.directory.path() + "/doc.clv",
                                                          f.workspace));
    writeFile(f.directory.path() + "/empty.plst", emptyList);
    Outcome run =
        runProgram({"--batch", "empty.plst", "--open", "doc.clv", "--export-vti", "batch.vti",
                    "--export-stl", "batch.stl", "--cross-section", "x:0", "side.png"},
                   f.directory.path());
    QCOMPARE(run.exitCode, 0);
    const QByteArray batch = readFile(f.directory.path() + "/batch.vti");
    // Silicon fills the bottom 3 of 8 layers (the rest is empty): one box of 6 x 5 x 3, each
    // side of 2 triangles per cell face: 2 * (30 + 18 + 15) * 2.
    const QByteArray stl = readFile(f.directory.path() + "/batch.stl");
    QCOMPARE(stl.size(), 84 + 252 * 50);
    // Across x: y to the right, z up; the bottom 3 rows are silicon, the 5 above empty.
    const QImage side(f.directory.path() + "/side.png");
    QVERIFY(side.height() >= 8);
    QCOMPARE(side.pixel(4, 7), side.pixel(0, 5));
    QCOMPARE(side.pixel(0, 4), QColor(Qt::white).rgb());
    QVERIFY(side.pixel(0, 5) != QColor(Qt::white).rgb());
    QVERIFY(batch.contains("WholeExtent=\"0 6 0 5 0 8\""));
    // No display at all: a document alone is exported without a window.
    run = runProgram({"doc.clv", "--export-vti", "doc.vti"}, f.directory.path(), QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(readFile(f.directory.path() + "/doc.vti"), batch);

    // Nothing to export is no success.
    run = runProgram({"--batch", "empty.plst", "--export-vti", "none.vti"}, f.directory.path());
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.errorLines.last().contains("no cell volume to export"));
    QVERIFY(!QFile::exists(f.directory.path() + "/none.vti"));

    run = runProgram({"doc.clv", "--export-vti", "doc.vti/x.vti"}, f.directory.path());
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.errorLines.last().startsWith("celvane: cannot export the cell volume"));
}

void TestCommandLine::sweepWithGnuParallelIsMonotonic()
{
    QVERIFY2(!QStandardPaths::findExecutable("parallel").isEmpty(),
             "GNU parallel is missing: tools/setup.sh installs it");
    QTemporaryDir dir;
    const QString out = dir.path() + "/sweep";
    const Outcome run =
        runSweepScript("sweep-parallel.sh", {out, "4", "2", "3"}, dir.path(), {{"JOBS", "2"}});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errorLines.join('\n')));
    QStringList header;
    const QList<QStringList> rows = csvRows(out + "/sweep.csv", &header);
    QCOMPARE(header.mid(0, 5),
             (QStringList{"Depth", "top_min", "top_max", "top_mean", "pit_depth"}));
    QCOMPARE(rows.size(), 3);
    const int opening = header.indexOf("opening_x_max");
    const int silicon = header.indexOf("volume_Si");
    QVERIFY(opening > 0 && silicon > 0);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rows[i][0], QString::number(i + 2));
        // The silicon's top stays; the resist is stripped.
        QCOMPARE(rows[i][2].toDouble(), 10.0);
        if (i == 0)
            continue;
        // A deeper etch digs a deeper pit, undercuts the mask further and removes more silicon.
        QVERIFY(rows[i][4].toDouble() > rows[i - 1][4].toDouble());
        QVERIFY(rows[i][1].toDouble() < rows[i - 1][1].toDouble());
        QVERIFY(rows[i][opening].toDouble() > rows[i - 1][opening].toDouble());
        QVERIFY(rows[i][silicon].toDouble() < rows[i - 1][silicon].toDouble());
    }

    const QString png = dir.path() + "/pit.png";
    const Outcome plot =
        runProgram({example("sweeps/plot.py"), out + "/sweep.csv", "pit_depth", png}, dir.path(),
                   QStringLiteral("offscreen"), QStringLiteral("/usr/bin/python3"));
    QVERIFY2(plot.exitCode == 0, qPrintable(plot.errorLines.join('\n')));
    QVERIFY(readFile(png).startsWith("\x89PNG"));
}

void TestCommandLine::slurmScriptRunsOneTaskByHand()
{
    QTemporaryDir dir;
    QCOMPARE(runProgram({"-n", example("sweeps/sweep-slurm.sh")}, dir.path(),
                        QStringLiteral("offscreen"), QStringLiteral("bash"))
                 .exitCode,
             0);

    const QMap<QString, QString> task1{{"SLURM_ARRAY_TASK_ID", "1"},
                                       {"SLURM_SUBMIT_DIR", QStringLiteral(CELVANE_SOURCE_DIR)},
                                       {"SWEEP_OUT", dir.path() + "/out"}};
    const Outcome run = runSweepScript("sweep-slurm.sh", {}, dir.path(), task1);
    QVERIFY2(run.exitCode == 0, qPrintable(run.errorLines.join('\n')));
    QStringList header;
    const QList<QStringList> rows = csvRows(dir.path() + "/out/sweep.csv", &header);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][0], QStringLiteral("2")); // task 1 runs the second depth

    QMap<QString, QString> task6 = task1;
    task6.insert("SLURM_ARRAY_TASK_ID", "6");
    QCOMPARE(runSweepScript("sweep-slurm.sh", {}, dir.path(), task6).exitCode, 2);
}

CELVANE_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
