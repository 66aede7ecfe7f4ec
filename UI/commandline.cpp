#include "UI/commandline.h"

#include "Core/Operations/BatchRun/batchrun.h"
#include "Core/Operations/BatchRun/processsteptypes.h"
#include "Core/Operations/documentfile.h"
#include "Core/Operations/workspace.h"
#include "Model/Materials/materialfactory.h"
#include "Model/Persistence/stlwriter.h"
#include "Model/Persistence/vtiwriter.h"
#include "Model/Process/processfactory.h"
#include "UI/BatchRun/parameteroverride.h"
#include "UI/BatchRun/processlistarchiver.h"
#include "UI/Observers/documentopenedobserver.h"
#include "UI/crosssectionimage.h"
#include "UI/glwidget.h"
#include "UI/mainwindow.h"
#include "UI/measurementreport.h"

#include <QApplication>
#include <QColor>
#include <QCommandLineParser>
#include <QIcon>
#include <QImage>
#include <QLoggingCategory>
#include <QPixmap>
#include <QThreadPool>

#include <cstdio>
#include <memory>

namespace Ui {

namespace {

using Core::Operations::BatchRun;

enum ExitCode
{
    AllRan = 0,
    StepNotRun = 1,
    BadInput = 2
};

void printLine(const QString &line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

int fail(int code, const QString &reason)
{
    printLine(QStringLiteral("celvane: ") + reason);
    return code;
}

/// The arguments without the toolkit's own options (-platform NAME and alike), which the
/// application object takes for itself.
QStringList ownArguments(int argc, char *argv[])
{
    static const QByteArrayList withValue = {
        "-platform", "-platformpluginpath", "-platformtheme",  "-plugin", "-style", "-stylesheet",
        "-display",  "-geometry",           "-qwindowgeometry"};
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && withValue.contains(QByteArray(argv[i]))) {
            ++i;
            continue;
        }
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

void createCatalogues()
{
    // The catalogues are process-wide and exist before the first window.
    Model::Materials::MaterialFactory::instance();
    Model::Process::ProcessFactory::instance();
}

QString stepLine(int index, int count, const BatchRun::Step &step, const BatchRun::Result &result)
{
    const QString outcome = result.outcome == BatchRun::Ran ? QStringLiteral("ran")
                            : result.outcome == BatchRun::Skipped
                                ? QStringLiteral("skipped: ") + result.reason
                                : QStringLiteral("failed: ") + result.reason;
    return QStringLiteral("Step %1/%2 %3: %4 (%5 s)")
        .arg(index + 1)
        .arg(count)
        .arg(Core::Operations::ProcessStepTypes::name(step.type), outcome)
        .arg(double(result.milliseconds) / 1000.0, 0, 'f', 2);
}

/// Runs without a display unless told otherwise, and keeps the toolkit's complaints about
/// windows it cannot show from drowning the program's own lines.
void drawWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("CELVANE_DEBUG"))
        QLoggingCategory::setFilterRules(
            QStringLiteral("default.debug=false\ndefault.warning=false\nqt.*.warning=false"));
}

struct CrossSection
{
    int axis = 0;
    quint32 index = 0;
    QString fileName;
};

/// Pairs each --cross-section AXIS:INDEX with its picture's file, the next of outputs.
bool crossSections(const QCommandLineParser &parser, const QStringList &outputs,
                   QList<CrossSection> *sections, QString *reason)
{
    const QStringList planes = parser.values(QStringLiteral("cross-section"));
    if (planes.size() != outputs.size()) {
        *reason = planes.size() < outputs.size()
                      ? QStringLiteral("\"%1\" follows no --cross-section AXIS:INDEX")
                            .arg(outputs.at(planes.size()))
                      : QStringLiteral("--cross-section %1 needs the file of its picture: "
                                       "--cross-section AXIS:INDEX OUT.png")
                            .arg(planes.at(outputs.size()));
        return false;
    }
    for (int i = 0; i < planes.size(); ++i) {
        CrossSection section;
        if (!CrossSectionImage::parse(planes.at(i), &section.axis, &section.index, reason))
            return false;
        section.fileName = outputs.at(i);
        sections->append(section);
    }
    return true;
}

/// Writes the exports asked for on the command line; AllRan when every one was written.
int writeExports(const QCommandLineParser &parser, Model::Automaton::TotalVolume &volume,
                 const QList<CrossSection> &sections)
{
    for (const CrossSection &section : sections) {
        QString reason;
        if (!CrossSectionImage::save(volume, section.axis, section.index, 1, section.fileName,
                                     &reason))
            return fail(BadInput, QStringLiteral("cannot save the cross section \"%1\": %2")
                                      .arg(section.fileName, reason));
    }
    const QString vti = parser.value(QStringLiteral("export-vti"));
    if (!vti.isEmpty()) {
        QString reason;
        if (!Model::Persistence::VtiWriter::write(volume, vti, &reason))
            return fail(
                BadInput,
                QStringLiteral("cannot export the cell volume \"%1\": %2").arg(vti, reason));
    }
    const QString stl = parser.value(QStringLiteral("export-stl"));
    if (!stl.isEmpty()) {
        QString reason;
        if (!Model::Persistence::StlWriter::write(
                volume, stl, Model::Persistence::StlWriter::materialsIn(volume), 1.0, &reason))
            return fail(BadInput,
                        QStringLiteral("cannot export the surface \"%1\": %2").arg(stl, reason));
    }
    return AllRan;
}

bool exportRequested(const QCommandLineParser &parser)
{
    return parser.isSet(QStringLiteral("export-vti")) ||
           parser.isSet(QStringLiteral("export-stl")) ||
           parser.isSet(QStringLiteral("cross-section"));
}

/// Exports the first cell volume of a document without opening a window.
int runExports(const QString &documentFile, const QCommandLineParser &parser,
               const QList<CrossSection> &sections)
{
    createCatalogues();
    Core::Operations::Workspace workspace;
    QString error;
    QStringList warnings;
    if (Core::Operations::DocumentFile::readDocument(documentFile, workspace, &error, &warnings) !=
        Core::Operations::DocumentFile::Read)
        return fail(BadInput,
                    QStringLiteral("cannot read the document \"%1\": %2").arg(documentFile, error));
    for (const QString &warning : warnings)
        printLine(QStringLiteral("celvane: warning: ") + warning);
    for (const auto &object : workspace.getDocument().getObjects())
        if (const auto volume = boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object))
            return writeExports(parser, *volume, sections);
    return fail(BadInput,
                QStringLiteral("the document \"%1\" holds no cell volume").arg(documentFile));
}

int runBatch(const QCommandLineParser &parser, const QList<CrossSection> &sections)
{
    const QString listFile = parser.value(QStringLiteral("batch"));
    QList<ProcessData> list;
    ProcessListArchiver archiver;
    if (!archiver.loadProcessList(listFile, list))
        return fail(BadInput, QStringLiteral("cannot read the process list \"%1\": %2")
                                  .arg(listFile, archiver.getError()));

    // Overrides and measurement requests are checked before anything runs.
    const QStringList sets = parser.values(QStringLiteral("set"));
    for (const QString &set : sets) {
        ParameterOverride override;
        QString reason;
        if (!ParameterOverride::parse(set, &override, &reason) || !override.apply(list, &reason))
            return fail(BadInput, reason);
    }
    createCatalogues();
    const QString measureFile = parser.value(QStringLiteral("measure"));
    MeasurementReport report;
    report.setSource(listFile, sets);
    if (parser.isSet(QStringLiteral("probe"))) {
        quint32 x = 0, y = 0;
        QString reason;
        if (!MeasurementReport::parseProbe(parser.value(QStringLiteral("probe")), &x, &y, &reason))
            return fail(BadInput, reason);
        report.setProbe(x, y);
    }
    for (const QString &cd : parser.values(QStringLiteral("cd"))) {
        MeasurementReport::Opening opening;
        QString reason;
        if (!MeasurementReport::parseOpening(cd, &opening, &reason))
            return fail(BadInput, reason);
        report.addOpening(opening);
    }

    // The window is never shown: it holds the document and renders Save Image steps.
    std::unique_ptr<MainWindow> window(new MainWindow());
    Core::Operations::Workspace &workspace = window->getPresenter().getWorkspace();
    const QString documentFile = parser.value(QStringLiteral("open"));
    if (!documentFile.isEmpty()) {
        QString error;
        QStringList warnings;
        const Core::Operations::DocumentFile::ReadResult read =
            Core::Operations::DocumentFile::readDocument(documentFile, workspace, &error,
                                                         &warnings);
        if (read != Core::Operations::DocumentFile::Read)
            return fail(
                BadInput,
                QStringLiteral("cannot read the document \"%1\": %2").arg(documentFile, error));
        for (const QString &warning : warnings)
            printLine(QStringLiteral("celvane: warning: ") + warning);
    }

    Core::Operations::StepContext context;
    for (const auto &object : workspace.getDocument().getObjects()) {
        context.volume = boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
        if (context.volume)
            break;
    }
    context.document = &workspace.getDocument();
    context.records = &workspace.getVolumeRecords();
    GLWidget *view = window->getGLWidget();
    // The window is never laid out: give the view the size of the pictures it saves.
    view->resize(1024, 768);
    context.saveImage = [view](const Model::Automaton::TotalVolume::Ptr &volume,
                               const QString &fileName, QString *reason) {
        volume->getPainter().refresh();
        const QImage image = view->renderImage();
        if (image.isNull()) {
            *reason = QStringLiteral("no OpenGL display to draw the 3D view on (set DISPLAY, "
                                     "or run the list under xvfb-run -a)");
            return false;
        }
        if (!image.save(fileName)) {
            *reason = QStringLiteral("the image could not be written to \"%1\"").arg(fileName);
            return false;
        }
        return true;
    };

    QList<BatchRun::Step> steps;
    for (const ProcessData &data : list)
        steps.append({data.getProcessType(), data.getParameters()});
    BatchRun batch(context);
    const int count = steps.size();
    batch.setStepObserver(
        [count](int index, const BatchRun::Step &step, const BatchRun::Result &result) {
            printLine(stepLine(index, count, step, result));
        });
    const bool allRan = batch.run(steps);

    const QString output = parser.value(QStringLiteral("save"));
    if (!output.isEmpty()) {
        QString error;
        if (!Core::Operations::DocumentFile::writeDocument(output, workspace, &error))
            return fail(BadInput,
                        QStringLiteral("cannot save the document \"%1\": %2").arg(output, error));
    }
    if (!measureFile.isEmpty() && batch.getVolume()) {
        QString reason;
        if (!report.measure(*batch.getVolume(), &reason))
            return fail(BadInput, reason);
        if (!report.write(measureFile, &reason))
            return fail(BadInput, QStringLiteral("cannot write the measurements \"%1\": %2")
                                      .arg(measureFile, reason));
    }
    const QStringList summary = batch.summary(steps).split(QLatin1Char('\n'));
    // Without a volume, a step that failed (a Create Substrate too large for the memory) is
    // the reason to give, not a list that seems to lack one.
    const auto noVolume = [&summary](const QString &what) {
        if (summary.size() > 1)
            return QStringLiteral("%1: %2").arg(what, summary.mid(1).join(QStringLiteral("; ")));
        return QStringLiteral("%1: open a document that holds one or begin the list with Create "
                              "Substrate")
            .arg(what);
    };
    // Asked-for files that silently do not appear would pass for a success.
    if (exportRequested(parser) && !batch.getVolume())
        return fail(StepNotRun, noVolume(QStringLiteral("no cell volume to export")));
    if (exportRequested(parser)) {
        const int exported = writeExports(parser, *batch.getVolume(), sections);
        if (exported != AllRan)
            return exported;
    }
    if (batch.missingVolume())
        return fail(StepNotRun, noVolume(QStringLiteral("no cell volume")));
    if (!allRan) {
        return fail(StepNotRun, summary.mid(1).join(QStringLiteral("; ")) + QStringLiteral(" (") +
                                    summary.first() + QLatin1Char(')'));
    }
    if (output.isEmpty() && measureFile.isEmpty() && !exportRequested(parser))
        printLine(QStringLiteral("celvane: every step ran; no --save was given, so the result "
                                 "is not kept"));
    return AllRan;
}

} // namespace

int CommandLine::run(int argc, char *argv[])
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulates MEMS microfabrication on cell volumes.\n"
                       "Without --batch it opens the main window, with FILE.clv if given."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("batch"),
         QStringLiteral("Runs the process list LIST.plst without a window, then exits: 0 when "
                        "every step ran, 1 when a step was skipped or failed, 2 on bad "
                        "arguments or unreadable files."),
         QStringLiteral("LIST.plst")},
        {QStringLiteral("open"),
         QStringLiteral("The document whose first cell volume the list works on (with --batch)."),
         QStringLiteral("DOC.clv")},
        {QStringLiteral("save"),
         QStringLiteral("Where the resulting document is written (with --batch)."),
         QStringLiteral("OUT.clv")},
        {QStringLiteral("set"),
         QStringLiteral("Replaces a parameter of the list before it runs (with --batch; "
                        "repeatable): STEP counted from 1, NAME as the list file names it, "
                        "VALUE of the parameter's type. Example: --set \"4:Depth=3.5\"."),
         QStringLiteral("STEP:NAME=VALUE")},
        {QStringLiteral("measure"),
         QStringLiteral("Writes measurements of the final volume as JSON (with --batch): "
                        "material amounts, the films of the probed column, top surface "
                        "heights, opening widths."),
         QStringLiteral("FILE.json")},
        {QStringLiteral("probe"),
         QStringLiteral("The column X,Y (in cells) whose films --measure lists (default: the "
                        "centre)."),
         QStringLiteral("X,Y")},
        {QStringLiteral("cd"),
         QStringLiteral("Adds to --measure the widths along x and y of the openings of MATERIAL "
                        "(name or id) in cell layer Z (repeatable)."),
         QStringLiteral("MATERIAL@Z")},
        {QStringLiteral("export-vti"),
         QStringLiteral("Writes the cell volume as VTK image data for ParaView and VTK: after "
                        "--batch the resulting volume, with FILE.clv the document's first "
                        "volume (then no window opens)."),
         QStringLiteral("OUT.vti")},
        {QStringLiteral("export-stl"),
         QStringLiteral("Writes the cube faces of the cell volume as binary STL in world units, "
                        "each material a closed surface, all in one file: after --batch the "
                        "resulting volume, with FILE.clv the document's first volume."),
         QStringLiteral("OUT.stl")},
        {QStringLiteral("cross-section"),
         QStringLiteral("Saves a PNG of one plane of the cell volume, a pixel per cell in the "
                        "material colours with a legend; the picture's file follows: "
                        "--cross-section z:3 OUT.png (repeatable; after --batch or with "
                        "FILE.clv)."),
         QStringLiteral("AXIS:INDEX")},
        {QStringLiteral("threads"),
         QStringLiteral("The number of worker threads (default: one per processor)."),
         QStringLiteral("N")},
    });
    parser.addPositionalArgument(QStringLiteral("FILE.clv"),
                                 QStringLiteral("A document to open in the main window."),
                                 QStringLiteral("[FILE.clv]"));
    // Parsed before any application object exists: bad arguments need no display to be told.
    if (!parser.parse(ownArguments(argc, argv)))
        return fail(BadInput, parser.errorText());
    if (parser.isSet(help) || parser.isSet(version)) {
        QCoreApplication application(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("celvane"));
        QCoreApplication::setApplicationVersion(QStringLiteral(CELVANE_VERSION));
        if (parser.isSet(version))
            parser.showVersion();
        parser.showHelp(AllRan);
    }

    if (parser.isSet(QStringLiteral("threads"))) {
        bool ok = false;
        const int threads = parser.value(QStringLiteral("threads")).toInt(&ok);
        if (!ok || threads < 1)
            return fail(BadInput, QStringLiteral("--threads needs a whole number of at least 1, "
                                                 "not \"%1\"")
                                      .arg(parser.value(QStringLiteral("threads"))));
        QThreadPool::globalInstance()->setMaxThreadCount(threads);
    }
    if (parser.isSet(QStringLiteral("batch"))) {
        for (const char *option : {"probe", "cd"})
            if (parser.isSet(QString::fromLatin1(option)) &&
                !parser.isSet(QStringLiteral("measure")))
                return fail(BadInput,
                            QStringLiteral("--%1 chooses what --measure writes; give --measure "
                                           "FILE.json as well")
                                .arg(option));
        QList<CrossSection> sections;
        QString reason;
        if (!parser.isSet(QStringLiteral("cross-section")) &&
            !parser.positionalArguments().isEmpty())
            return fail(BadInput, QStringLiteral("--batch takes its document with --open, not "
                                                 "\"%1\"")
                                      .arg(parser.positionalArguments().first()));
        if (!crossSections(parser, parser.positionalArguments(), &sections, &reason))
            return fail(BadInput, reason);
        drawWithoutDisplay();
        QApplication application(argc, argv);
        return runBatch(parser, sections);
    }
    for (const char *option : {"open", "save", "set", "measure", "probe", "cd"})
        if (parser.isSet(QString::fromLatin1(option)))
            return fail(BadInput, QStringLiteral("--%1 is only for --batch").arg(option));
    if (exportRequested(parser)) {
        if (parser.positionalArguments().isEmpty())
            return fail(BadInput, QStringLiteral("nothing to export: give --batch LIST.plst or "
                                                 "a document FILE.clv"));
        QList<CrossSection> sections;
        QString reason;
        if (!crossSections(parser, parser.positionalArguments().mid(1), &sections, &reason))
            return fail(BadInput, reason);
        // Pictures need fonts for their legends, but no display.
        drawWithoutDisplay();
        QApplication application(argc, argv);
        return runExports(parser.positionalArguments().first(), parser, sections);
    }
    if (parser.positionalArguments().size() > 1)
        return fail(BadInput, QStringLiteral("one document at a time, please"));

    QApplication application(argc, argv);
    QPixmap icon(32, 32);
    if (!icon.load(QStringLiteral("icon.ico")))
        icon.fill(QColor(207, 8, 12, 255));
    QApplication::setWindowIcon(QIcon(icon));
    createCatalogues();
    const QStringList files = parser.positionalArguments();
    // A document that cannot be opened says why; an empty window follows, as on any start.
    if (files.isEmpty() || !Observers::DocumentOpenedObserver::open(files.first()))
        (new MainWindow())->showMaximized();
    return application.exec();
}

} // namespace Ui
