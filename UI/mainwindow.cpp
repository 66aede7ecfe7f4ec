#include "UI/mainwindow.h"

#include "Core/Operations/ifiledialogs.h"
#include "Core/Operations/workspace.h"
#include "Model/palette.h"
#include "UI/Console/commandconsole.h"
#include "UI/Input/changecolorsdialog.h"
#include "UI/Input/gridspacingdialog.h"
#include "UI/Input/translateviewdialog.h"
#include "UI/Input/viewangledialog.h"
#include "UI/Input/zoomdialog.h"
#include "UI/Observers/selectionmodeobserver.h"
#include "UI/glwidget.h"
#include "UI/operationmapper.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QMessageBox>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

namespace Ui {

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(new Ui::MainWindowForm()), presenter(this)
{
    operationMapper = new OperationMapper(this);
    viewMapper = new OperationMapper(this);
    enterShortcut = new QShortcut(QKeySequence(Qt::KeypadModifier | Qt::Key_Enter), this);
    returnShortcut = new QShortcut(QKeySequence(Qt::Key_Return), this);
    escapeShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);

    ui->setupUi(this);
    connect(ui->actionExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->actionConsole, &QAction::toggled, this, &MainWindow::showConsole);
    connect(ui->actionUndo, &QAction::triggered, this, &MainWindow::undoOperation);
    connect(ui->actionRedo, &QAction::triggered, this, &MainWindow::redoOperation);
    connect(ui->actionSelect, &QAction::toggled, this, &MainWindow::selectionToggled);
    connect(ui->actionGrid, &QAction::toggled, this, &MainWindow::renderGridToggled);
    connect(ui->actionSnap_to_Grid, &QAction::toggled, this, &MainWindow::snapToGridToggled);
    connect(ui->actionGrid_Spacing, &QAction::triggered, this, &MainWindow::changeGridSpacing);
    connect(ui->actionRender_Objects, &QAction::toggled, this, &MainWindow::renderObjectsToggled);
    connect(ui->actionLighting, &QAction::toggled, this, &MainWindow::lightingToggled);
    connect(ui->actionRender_Object_Edges, &QAction::toggled, this,
            &MainWindow::renderObjectEdgesToggled);
    connect(ui->actionConfigure_Window_Colors, &QAction::triggered, this,
            &MainWindow::changeWindowColors);
    connect(ui->actionZoom, &QAction::triggered, this, &MainWindow::changeZoom);
    connect(ui->actionTranslate, &QAction::triggered, this, &MainWindow::changeTranslate);
    connect(ui->actionSave_Image, &QAction::triggered, this, qOverload<>(&MainWindow::saveImage));
    connect(ui->actionExport_Cell_Volume, &QAction::triggered, &presenter,
            &MainWindowPresenter::exportCellVolume);
    connect(ui->actionExport_Surface, &QAction::triggered, &presenter,
            &MainWindowPresenter::exportSurface);
    connect(ui->actionSave_Cross_Section, &QAction::triggered, &presenter,
            &MainWindowPresenter::saveCrossSection);
    connect(ui->actionAbout_Celvane, &QAction::triggered, this, &MainWindow::showAboutInfo);

    glWidget = new GLWidget(this, &presenter);
    setCentralWidget(glWidget);
    connect(ui->actionFit_to_Scene, &QAction::triggered, glWidget, &GLWidget::fitToScene);
    // What lies under the cursor, in a corner of its own so that it never hides the
    // messages of the status bar.
    cursorLabel = new QLabel(statusBar());
    cursorLabel->setObjectName(QStringLiteral("lblCursor"));
    statusBar()->addPermanentWidget(cursorLabel);
    connect(glWidget, &GLWidget::hoverChanged, cursorLabel, &QLabel::setText);

    updateObserver = presenter.registerUpdateObserver();
    connect(updateObserver.get(), &Observers::UpdateObserver::updateGL, glWidget,
            &GLWidget::updateGL);
    // A step or an undo changes the cells under a resting cursor.
    connect(updateObserver.get(), &Observers::UpdateObserver::updateGL, glWidget,
            &GLWidget::refreshHover);

    mapOperations();
    mapViews();
    connect(operationMapper, &OperationMapper::activated, &presenter,
            &MainWindowPresenter::operationActivated);
    connect(viewMapper, &OperationMapper::activated, this, &MainWindow::setView);
    connect(enterShortcut, &QShortcut::activated, &presenter, &MainWindowPresenter::enterPressed);
    connect(returnShortcut, &QShortcut::activated, &presenter, &MainWindowPresenter::enterPressed);
    connect(escapeShortcut, &QShortcut::activated, &presenter, &MainWindowPresenter::cancelPressed);

    presenter.getSelection().addObserver(Util::ObserverPtr(
        new Observers::SelectionModeObserver(ui->actionSelect, &presenter.getSelection())));

    // Closing the console by its own button unchecks "Console".
    if (Console::CommandConsole *console = presenter.getConsole())
        connect(console, &Console::CommandConsole::closed, this,
                [this]() { ui->actionConsole->setChecked(false); });

    setAttribute(Qt::WA_DeleteOnClose);
}

MainWindow::~MainWindow()
{
    // The view draws the presenter's document: it goes before the presenter does.
    delete glWidget;
    glWidget = nullptr;
    delete ui;
}

void MainWindow::mapOperations()
{
    const struct
    {
        QAction *action;
        quint32 id;
    } table[] = {
        {ui->actionCopy, 1},
        {ui->actionCreate_Substrate, 2},
        {ui->actionIon_Implantation, 3},
        {ui->actionDelete, 4},
        {ui->actionChange_Viewing_Options, 6},
        {ui->actionMove, 7},
        {ui->actionModel_Extraction, 1000},
        {ui->actionExtract_Film, 8},
        {ui->actionSave, 9},
        {ui->actionSave_as, 10},
        {ui->actionOpen, 11},
        {ui->actionGlue_Substrate, 12},
        {ui->actionCVD, 13},
        {ui->actionIsotropic_Film_Etching, 14},
        {ui->actionElectrodeposition, 15},
        {ui->actionCut_Cell_Volume, 16},
        {ui->actionDoping, 17},
        {ui->actionMoore_Deposition, 18},
        {ui->actionMoore_Etching, 19},
        {ui->actionPhotolithography, 20},
        {ui->actionBCA_Wet_Etching, 28},
        {ui->actionPlanarization, 22},
        {ui->actionSpin_Coating, 23},
        {ui->actionSi_Oxidation, 26},
        {ui->actionPVD, 27},
        {ui->actionSimple_RIE, 30},
        {ui->actionContinuous_Wet_Etching, 29},
        {ui->actionBatch_Run, 24},
    };
    for (const auto &entry : table) {
        operationMapper->addAction(entry.action, entry.id);
        operationActions.insert(entry.id, entry.action);
    }
}

void MainWindow::reportUnavailable(quint32 id)
{
    const QAction *action = operationActions.value(id);
    const QString entry =
        action ? action->text().remove(QLatin1Char('&')) : QStringLiteral("Operation %1").arg(id);
    const QString message = entry + QStringLiteral(": this operation is not available yet.");
    presenter.getWorkspace().getConsoleInput().writeMessage(message.toStdString());
    statusBar()->showMessage(message, 10000);
}

void MainWindow::mapViews()
{
    viewMapper->addAction(ui->actionFront_View, QStringLiteral("front"));
    viewMapper->addAction(ui->actionBack_view, QStringLiteral("back"));
    viewMapper->addAction(ui->actionTop_View, QStringLiteral("top"));
    viewMapper->addAction(ui->actionBottom_View, QStringLiteral("bottom"));
    viewMapper->addAction(ui->actionLeft_View, QStringLiteral("left"));
    viewMapper->addAction(ui->actionRight_View, QStringLiteral("right"));
    viewMapper->addAction(ui->actionManual_View, QStringLiteral("manual"));
}

void MainWindow::setUndoAction(const QString &operationName)
{
    ui->actionUndo->setText(QStringLiteral("Undo ") + operationName);
    ui->actionUndo->setEnabled(!operationName.isEmpty());
}

void MainWindow::setRedoAction(const QString &operationName)
{
    ui->actionRedo->setText(QStringLiteral("Redo ") + operationName);
    ui->actionRedo->setEnabled(!operationName.isEmpty());
}

void MainWindow::showConsole(bool show)
{
    if (Console::CommandConsole *console = presenter.getConsole())
        console->setVisible(show);
}

void MainWindow::undoOperation()
{
    presenter.undo();
    if (centralWidget())
        centralWidget()->update();
}

void MainWindow::redoOperation()
{
    presenter.redo();
    if (centralWidget())
        centralWidget()->update();
}

void MainWindow::selectionToggled(bool on)
{
    if (presenter.getSelection().isSelectionMode() != on)
        presenter.getSelection().setSelectionMode(on);
}

void MainWindow::lightingToggled(bool on)
{
    glWidget->lightingToggled(on);
}

void MainWindow::renderObjectsToggled(bool on)
{
    glWidget->renderObjectsToggled(on);
}

void MainWindow::renderObjectEdgesToggled(bool on)
{
    glWidget->renderObjectEdgesToggled(on);
}

void MainWindow::setView(const QString &view)
{
    int angles[3];
    if (GLWidget::presetAngles(view, angles)) {
        glWidget->setRotation(angles[0], angles[1], angles[2]);
        return;
    }
    if (view != QLatin1String("manual"))
        return;
    // The dialog offers the angles last accepted in it during this run.
    static double manualAngles[3] = {0.0, 0.0, 0.0};
    Input::ViewAngleDialog dialog(this);
    dialog.setAngleX(manualAngles[0]);
    dialog.setAngleY(manualAngles[1]);
    dialog.setAngleZ(manualAngles[2]);
    if (dialog.exec() != QDialog::Accepted)
        return;
    manualAngles[0] = dialog.getAngleX();
    manualAngles[1] = dialog.getAngleY();
    manualAngles[2] = dialog.getAngleZ();
    glWidget->setRotation(int(manualAngles[0]), int(manualAngles[1]), int(manualAngles[2]));
}

void MainWindow::renderGridToggled(bool on)
{
    glWidget->renderGridToggled(on);
}

void MainWindow::snapToGridToggled(bool on)
{
    glWidget->snapToGridToggled(on);
}

void MainWindow::changeGridSpacing()
{
    Input::GridSpacingDialog dialog(this);
    dialog.setSpacing(glWidget->getGrid().spacing);
    if (dialog.exec() == QDialog::Accepted)
        glWidget->setGridSpacing(float(dialog.getSpacing()));
}

void MainWindow::changeWindowColors()
{
    Input::ChangeColorsDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.applyToPalette();
    glWidget->updateGL();
}

void MainWindow::changeZoom()
{
    Input::ZoomDialog dialog(this);
    dialog.setPercent(100.0 / glWidget->getZoom());
    if (dialog.exec() == QDialog::Accepted && dialog.getPercent() > 0.0)
        glWidget->setZoom(float(100.0 / dialog.getPercent()));
}

void MainWindow::changeTranslate()
{
    Input::TranslateViewDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The pan lies in the screen plane: the Z distance has nothing to move.
    glWidget->setPan(int(dialog.getDistanceX()), int(dialog.getDistanceY()));
}

QDir &MainWindow::imageLocation()
{
    static QDir location = QDir::home();
    return location;
}

QDir MainWindow::lastImageLocation()
{
    return imageLocation();
}

bool MainWindow::writeImage(const QString &fileName)
{
    const QImage image = glWidget->renderImage();
    if (image.isNull() || !image.save(fileName)) {
        qDebug() << "Could not save the screen image to" << fileName;
        return false;
    }
    imageLocation() = QFileInfo(fileName).absoluteDir();
    return true;
}

void MainWindow::saveImage(QString fileName)
{
    if (fileName.isEmpty()) {
        saveImage();
        return;
    }
    writeImage(fileName);
}

void MainWindow::saveImage()
{
    const boost::shared_ptr<Core::Operations::IFileDialogs> dialogs =
        Core::Operations::IFileDialogs::instance();
    QString fileName = dialogs
                           ? dialogs->getSaveFileName(QStringLiteral("Save Screen Image"),
                                                      imageLocation().absolutePath(),
                                                      QStringLiteral("Images (*.png *.xpm *.jpg)"))
                           : QString();
    if (fileName.isEmpty())
        return;
    // Without an extension that names an image format there would be nothing to write.
    if (!QImageWriter::supportedImageFormats().contains(
            QFileInfo(fileName).suffix().toLower().toLatin1()))
        fileName += QStringLiteral(".png");
    if (!writeImage(fileName))
        QMessageBox::warning(this, QStringLiteral("Save Screen Image"),
                             QStringLiteral("The image could not be saved to %1.").arg(fileName));
}

void MainWindow::showAboutInfo()
{
    QMessageBox::about(this, QStringLiteral("About Celvane"),
                       QStringLiteral("<b>Celvane</b><br>A cellular-automaton simulator of MEMS "
                                      "microfabrication.<br><br>Built with Qt, Boost and "
                                      "OpenGL."));
}

void MainWindow::on_actionManage_Materials_triggered()
{
    presenter.manageMaterials();
}

void MainWindow::on_actionManage_Compatible_Materials_triggered()
{
    presenter.manageCompatibleMaterials();
}

void MainWindow::on_actionNew_triggered()
{
    presenter.newDocument();
    // A new document starts from the view of a fresh start, not from the old zoom and pan.
    if (presenter.getDocument().getObjects().isEmpty() && glWidget)
        glWidget->resetView();
}

void MainWindow::repaintCentralWidget()
{
    if (centralWidget())
        centralWidget()->repaint();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Core::Operations::Workspace &workspace = presenter.getWorkspace();
    // The test suite closes windows by the dozen; tests of this question switch it back on.
    const QVariant ask = qApp->property("celvane.askBeforeClosing");
    if ((!ask.isValid() || ask.toBool()) && workspace.getDocument().isModified()) {
        const QMessageBox::StandardButton answer = QMessageBox::question(
            this, QStringLiteral("Celvane"),
            QStringLiteral("The document has unsaved changes. Save them before closing?"),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Cancel) {
            event->ignore();
            return;
        }
        if (answer == QMessageBox::Save) {
            workspace.startOperation(9);
            if (workspace.getDocument().isModified()) { // cancelled or failed: stay open
                event->ignore();
                return;
            }
        }
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The console was shown before this window: without a window manager (and with some) the
    // window mapped later covers it, and the questions operations ask go unseen.
    QTimer::singleShot(0, this, [this]() {
        Console::CommandConsole *console = presenter.getConsole();
        if (console && console->isVisible())
            console->raise();
    });
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QMainWindow::changeEvent(event);
}

} // namespace Ui
