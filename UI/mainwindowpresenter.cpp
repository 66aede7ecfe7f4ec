#include "UI/mainwindowpresenter.h"

#include "Model/Automaton/marchingcubesurface.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Materials/materialfactory.h"
#include "Model/Persistence/stlwriter.h"
#include "Model/Persistence/vtiwriter.h"
#include "Model/Process/processfactory.h"
#include "UI/Console/commandconsole.h"
#include "UI/crosssectiondialog.h"
#include "UI/crosssectionimage.h"
#include "UI/editcompatiblematerialsdialog.h"
#include "UI/exportsurfacedialog.h"
#include "UI/filedialogs.h"
#include "UI/mainwindow.h"
#include "UI/managematerialsdialog.h"
#include "UI/operationfactory.h"
#include "UI/stepprogressdialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>

namespace Ui {

MainWindowPresenter::MainWindowPresenter(MainWindow *mainWindow)
    : QObject(nullptr), mainWindow(mainWindow)
{
    console = new Console::CommandConsole(&workspace.getConsoleInput(), mainWindow);
    console->setWindowFlags(Qt::Tool);
    QScreen *screen =
        mainWindow->screen() ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect available = screen->availableGeometry();
        const QSize frame = console->frameGeometry().size();
        // Each further window's console steps up and left, so consoles never hide each other.
        static int consolesOpened = 0;
        const int step = 30 * (consolesOpened++ % 8);
        console->move(available.x() + int(0.9 * (available.width() - frame.width())) - step,
                      available.y() + int(0.9 * (available.height() - frame.height())) - step);
    }
    console->show();

    undoObserver.reset(new Observers::UndoRedoObserver());
    redoObserver.reset(new Observers::UndoRedoObserver());
    workspace.getHistory().addUndoObserver(undoObserver);
    workspace.getHistory().addRedoObserver(redoObserver);
    connect(undoObserver.get(), &Observers::UndoRedoObserver::stackChanged, this,
            &MainWindowPresenter::undoStackChanged);
    connect(redoObserver.get(), &Observers::UndoRedoObserver::stackChanged, this,
            &MainWindowPresenter::redoStackChanged);

    FileDialogs::installDefault();
    workspace.setConfirmation([mainWindow](const std::string &question) {
        return QMessageBox::question(
                   mainWindow, QStringLiteral("Celvane"), QString::fromStdString(question),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    });
    // Steps run off the GUI thread while the window repaints and shows their progress.
    workspace.setStepRunner([mainWindow](const std::string &name, Util::Progress &progress,
                                         bool cancellable, const std::function<void()> &work) {
        StepProgressDialog::run(mainWindow, QString::fromStdString(name), progress, cancellable,
                                work);
    });
    workspace.setOperationFactory(
        boost::shared_ptr<Core::Operations::IOperationFactory>(new OperationFactory(this)));
}

MainWindowPresenter::~MainWindowPresenter()
{
    // The console reads the workspace's console input: it goes first.
    delete console.data();
    workspace.getConsoleInput().resetRequest();
}

Console::CommandConsole *MainWindowPresenter::getConsole() const
{
    return console.data();
}

void MainWindowPresenter::undo()
{
    workspace.getHistory().undo();
}

void MainWindowPresenter::redo()
{
    workspace.getHistory().redo();
}

void MainWindowPresenter::newDocument()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::information(mainWindow, QStringLiteral("Create new document"),
                                 QStringLiteral("This will erase all data. Continue?"),
                                 QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    workspace.cancelCurrentOperation();
    workspace.getSelection().clearSelection();
    workspace.getHistory().clear();
    workspace.getConsoleInput().resetRequest();
    workspace.getPickState().clear();
    workspace.getDocument().clear();
    workspace.getVolumeRecords().clear();
    workspace.notifyUpdate();
    mainWindow->setWindowTitle(QStringLiteral("Celvane")); // no file any more
}

namespace {

/// Asks where to write, starting in location; a name without an extension gets suffix. Empty
/// when cancelled.
QString askExportFile(const QString &title, const QString &filter, const QString &suffix,
                      const QDir &location)
{
    const boost::shared_ptr<Core::Operations::IFileDialogs> dialogs =
        Core::Operations::IFileDialogs::instance();
    QString fileName =
        dialogs ? dialogs->getSaveFileName(title, location.absolutePath(), filter) : QString();
    if (!fileName.isEmpty() && QFileInfo(fileName).suffix().isEmpty())
        fileName += suffix;
    return fileName;
}

void reportExportFailure(QWidget *parent, const QString &title, const QString &what,
                         const QString &fileName, const QString &reason)
{
    QMessageBox::warning(parent, title,
                         QStringLiteral("The %1 could not be saved to %2: %3")
                             .arg(what, QDir::toNativeSeparators(fileName), reason));
}

} // namespace

Model::Automaton::TotalVolume::Ptr MainWindowPresenter::volumeToExport(const QString &title)
{
    using Model::Automaton::TotalVolume;
    QList<TotalVolume::Ptr> selected, all;
    for (const auto &object : workspace.getSelection().getSelectedObjects())
        if (const TotalVolume::Ptr volume = boost::dynamic_pointer_cast<TotalVolume>(object))
            selected.append(volume);
    for (const auto &object : workspace.getDocument().getObjects())
        if (const TotalVolume::Ptr volume = boost::dynamic_pointer_cast<TotalVolume>(object))
            all.append(volume);
    if (selected.size() == 1)
        return selected.first();
    if (selected.isEmpty() && all.size() == 1)
        return all.first();
    QMessageBox::information(mainWindow, title,
                             all.isEmpty() ? QStringLiteral("There is no cell volume to export.")
                                           : QStringLiteral("Select the one cell volume to "
                                                            "export."));
    return TotalVolume::Ptr();
}

void MainWindowPresenter::exportCellVolume()
{
    const QString title = QStringLiteral("Export Cell Volume");
    const Model::Automaton::TotalVolume::Ptr volume = volumeToExport(title);
    if (!volume)
        return;
    QString reason;
    static QDir lastLocation = QDir::home();
    const QString fileName = askExportFile(title, QStringLiteral("VTK image data (*.vti)"),
                                           QStringLiteral(".vti"), lastLocation);
    if (fileName.isEmpty())
        return;
    if (!Model::Persistence::VtiWriter::write(*volume, fileName, &reason)) {
        reportExportFailure(mainWindow, title, QStringLiteral("cell volume"), fileName, reason);
        return;
    }
    lastLocation = QFileInfo(fileName).absoluteDir();
}

void MainWindowPresenter::exportSurface()
{
    using Model::Persistence::StlWriter;
    const QString title = QStringLiteral("Export Surface");
    const Model::Automaton::TotalVolume::Ptr volume = volumeToExport(title);
    if (!volume)
        return;
    QString reason;
    const QList<quint32> materials = StlWriter::materialsIn(*volume);
    if (materials.isEmpty()) {
        QMessageBox::information(mainWindow, title,
                                 QStringLiteral("The cell volume holds no material, so it has "
                                                "no surface."));
        return;
    }
    // The smooth surface goes out when the view shows it.
    const Model::Automaton::TotalVolumePainter &painter = volume->getPainter();
    const bool smooth = painter.getSurfaceAlgorithm() ==
                            Model::Automaton::TotalVolumePainter::MarchingCubesAlgorithm &&
                        painter.getMarchingCubes().getTriangleCount() > 0;
    ExportSurfaceDialog options(mainWindow);
    if (options.exec() != QDialog::Accepted)
        return;
    static QDir lastLocation = QDir::home();
    const QString fileName =
        askExportFile(title, QStringLiteral("STL (*.stl)"), QStringLiteral(".stl"), lastLocation);
    if (fileName.isEmpty())
        return;

    if (smooth && !options.isFilePerMaterial()) {
        // In one file, the view's own surface: one surface around every material.
        if (!StlWriter::writeTriangles(painter.getMarchingCubes().getTriangles(),
                                       volume->getPosition(), options.getScale(), fileName,
                                       &reason))
            reportExportFailure(mainWindow, title, QStringLiteral("surface"), fileName, reason);
        else
            lastLocation = QFileInfo(fileName).absoluteDir();
        return;
    }
    QList<QPair<QString, QList<quint32>>> files;
    if (!options.isFilePerMaterial()) {
        files.append({fileName, materials});
    } else {
        const QFileInfo info(fileName);
        QStringList used;
        for (quint32 material : materials) {
            QString name =
                Model::Materials::MaterialFactory::instance()->getMaterial(material).getName();
            // The material's name becomes part of a file name: nothing a folder could take.
            name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]+")),
                         QStringLiteral("_"));
            if (name.isEmpty() || used.contains(name))
                name += QString::number(material);
            used.append(name);
            files.append({info.dir().filePath(info.completeBaseName() + QLatin1Char('-') + name +
                                              QStringLiteral(".stl")),
                          {material}});
        }
    }
    quint32 lower[3], upper[3];
    painter.getCutLimits(lower, upper);
    for (const auto &file : files) {
        bool written;
        if (smooth) {
            // Each material's own closed surface over the view's cut box, built apart from the
            // view's, which stays as it is.
            Model::Automaton::MarchingCubeSurface surface(volume.get());
            if (!surface.rebuild(lower, upper, file.second.first())) {
                reportExportFailure(mainWindow, title, QStringLiteral("surface"), file.first,
                                    QStringLiteral("there is not enough memory for its "
                                                   "marching-cubes triangles"));
                return;
            }
            const std::vector<Model::Automaton::Triangle> triangles = surface.takeTriangles();
            // A material wholly outside the cut box has no surface in the view: no file.
            if (triangles.empty())
                continue;
            written = StlWriter::writeTriangles(triangles, volume->getPosition(),
                                                options.getScale(), file.first, &reason);
        } else {
            written =
                StlWriter::write(*volume, file.first, file.second, options.getScale(), &reason);
        }
        if (!written) {
            reportExportFailure(mainWindow, title, QStringLiteral("surface"), file.first, reason);
            return;
        }
    }
    lastLocation = QFileInfo(fileName).absoluteDir();
}

void MainWindowPresenter::saveCrossSection()
{
    const QString title = QStringLiteral("Save Cross Section");
    const Model::Automaton::TotalVolume::Ptr volume = volumeToExport(title);
    if (!volume)
        return;
    QString reason;
    const quint32 cells[3] = {volume->getCellsX(), volume->getCellsY(), volume->getCellsZ()};
    CrossSectionDialog plane(cells, mainWindow);
    if (plane.exec() != QDialog::Accepted)
        return;
    static QDir lastLocation = QDir::home();
    const QString fileName = askExportFile(title, QStringLiteral("PNG image (*.png)"),
                                           QStringLiteral(".png"), lastLocation);
    if (fileName.isEmpty())
        return;
    if (!CrossSectionImage::save(*volume, plane.getAxis(), plane.getIndex(), plane.getCellPixels(),
                                 fileName, &reason)) {
        reportExportFailure(mainWindow, title, QStringLiteral("cross section"), fileName, reason);
        return;
    }
    lastLocation = QFileInfo(fileName).absoluteDir();
}

void MainWindowPresenter::manageMaterials()
{
    ManageMaterialsDialog dialog(mainWindow);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Model::Materials::MaterialFactory::Ptr materials =
        Model::Materials::MaterialFactory::instance();
    for (const Model::Materials::Material &material : dialog.getMaterials())
        materials->setMaterial(material);
    // The catalogue is shared by every window; faces keep their colours until recoloured.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        MainWindow *window = qobject_cast<MainWindow *>(widget);
        if (!window)
            continue;
        Core::Operations::Workspace &other = window->getPresenter().getWorkspace();
        for (const Core::Operations::Document::ObjectPtr &object :
             other.getDocument().getObjects()) {
            const Model::Automaton::TotalVolume::Ptr volume =
                boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
            if (volume)
                volume->getPainter().recolor();
        }
        other.notifyUpdate();
    }
}

void MainWindowPresenter::manageCompatibleMaterials()
{
    EditCompatibleMaterialsDialog dialog(mainWindow);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Model::Process::ProcessFactory::Ptr processes =
        Model::Process::ProcessFactory::instance();
    for (const Model::Process::Process &process : dialog.getProcesses())
        processes->setProcess(process);
    // The edits hold for this run either way; the user should know they will not survive it.
    if (!processes->saveProcesses())
        QMessageBox::warning(mainWindow, QStringLiteral("Manage Compatible Materials"),
                             QStringLiteral("The compatible materials could not be saved to "
                                            "processes.xml in the folder Celvane of your home "
                                            "directory. The changes last until Celvane is "
                                            "closed."));
}

boost::shared_ptr<Observers::UpdateObserver> MainWindowPresenter::registerUpdateObserver()
{
    boost::shared_ptr<Observers::UpdateObserver> observer(new Observers::UpdateObserver());
    workspace.addUpdateObserver(observer);
    return observer;
}

void MainWindowPresenter::undoStackChanged()
{
    mainWindow->setUndoAction(QString::fromStdString(workspace.getHistory().undoTopName()));
}

void MainWindowPresenter::redoStackChanged()
{
    mainWindow->setRedoAction(QString::fromStdString(workspace.getHistory().redoTopName()));
}

void MainWindowPresenter::operationActivated(const QString &operationId)
{
    const quint32 id = operationId.toUInt();
    if (!workspace.startOperation(id) && mainWindow)
        mainWindow->reportUnavailable(id);
}

void MainWindowPresenter::enterPressed()
{
    if (console)
        console->enterPressed();
}

void MainWindowPresenter::cancelPressed()
{
    workspace.cancelCurrentOperation();
    workspace.getSelection().clearSelection();
    workspace.notifyUpdate();
}

} // namespace Ui
