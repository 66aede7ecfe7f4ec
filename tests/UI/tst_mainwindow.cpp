#include "Core/Operations/createsubstrateoperation.h"
#include "Model/Automaton/totalvolume.h"
#include "UI/Console/commandconsole.h"
#include "UI/Operations/createsubstratedialog.h"
#include "UI/crosssectiondialog.h"
#include "UI/exportsurfacedialog.h"
#include "UI/mainwindow.h"
#include "Util/systemmemory.h"
#include "guitestutil.h"
#include "testmain.h"
#include "ui_createsubstratedialog.h"
#include "ui_crosssectiondialog.h"
#include "ui_exportsurfacedialog.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>

using Model::Automaton::TotalVolume;
using Ui::MainWindow;

namespace {

QStringList menuEntries(QMenu *menu)
{
    QStringList entries;
    for (QAction *action : menu->actions())
        entries.append(action->isSeparator() ? QStringLiteral("---") : action->objectName());
    return entries;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void titleSizeAndMenus();
    void questionsReachTheUser();
    void menuContents_data();
    void menuContents();
    void actionProperties();
    void undoLabelAfterCreateSubstrate();
    void consoleShowsAndHides();
    void consoleStaysAboveItsWindow();
    void consoleTakesTheFocusWhenAsked();
    void unallocatableSubstrateShowsMessage();
    void moveTypedInTheConsole();
    void escapeCancelsAndReturnAnswers();
    void newDocumentAsksFirst();
    void closingOneWindowLeavesTheOther();
    void unmappedActionsStartNothing();
    void exportCellVolume();
    void exportSurfacePerMaterial();
    void exportSmoothSurfacePerMaterial();
    void saveCrossSectionAsksThePlane();

private:
    Core::Operations::Workspace &workspace() { return window->getPresenter().getWorkspace(); }

    QPointer<MainWindow> window;
    QTemporaryDir workDir;
};

void TestMainWindow::init()
{
    QDir::setCurrent(workDir.path()); // the state files go to the working directory
    window = showMainWindow();
    QVERIFY(window);
}

void TestMainWindow::cleanup()
{
    closeWindow(window);
    QVERIFY(!window); // deleted on close
}

void TestMainWindow::titleSizeAndMenus()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Celvane"));
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QStringList menus;
    for (QAction *action : window->menuBar()->actions())
        menus.append(action->menu()->objectName() + QLatin1Char('=') + action->text());
    QCOMPARE(menus, (QStringList{"menuFile=File", "menuEdit=Edit", "menuSimulation=Simulation",
                                 "menuMaterials=Materials", "menuRendering=Rendering",
                                 "menuView=View", "menuWindows=Windows", "menuAbout=About"}));
}

void TestMainWindow::menuContents_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("entries"); // action names and separators, space-separated
    QTest::newRow("File") << "menuFile"
                          << "actionNew actionOpen actionSave actionSave_as --- actionSave_Image "
                             "actionExport_Cell_Volume actionExport_Surface --- actionExit";
    QTest::newRow("Edit") << "menuEdit"
                          << "actionUndo actionRedo --- actionSelect actionCopy actionMove "
                             "actionDelete --- actionGrid actionSnap_to_Grid actionGrid_Spacing";
    QTest::newRow("Simulation")
        << "menuSimulation"
        << "actionCreate_Substrate --- actionDoping actionElectrodeposition "
           "actionIon_Implantation actionPVD actionCVD actionIsotropic_Film_Etching "
           "actionMoore_Deposition actionMoore_Etching actionPhotolithography actionPlanarization "
           "actionSi_Oxidation actionBCA_Wet_Etching actionContinuous_Wet_Etching "
           "actionSimple_RIE actionSpin_Coating --- actionExtract_Film actionGlue_Substrate --- "
           "actionBatch_Run --- actionModel_Extraction";
    QTest::newRow("Materials") << "menuMaterials"
                               << "actionManage_Materials actionManage_Compatible_Materials";
    QTest::newRow("Rendering") << "menuRendering"
                               << "actionRender_Objects actionLighting actionRender_Object_Edges "
                                  "--- actionChange_Viewing_Options actionCut_Cell_Volume --- "
                                  "actionConfigure_Window_Colors";
    QTest::newRow("View")
        << "menuView"
        << "actionFront_View actionBack_view actionBottom_View actionTop_View "
           "actionRight_View actionLeft_View --- actionManual_View --- "
           "actionZoom actionFit_to_Scene --- actionTranslate --- actionSave_Cross_Section";
    QTest::newRow("Windows") << "menuWindows"
                             << "actionConsole";
    QTest::newRow("About") << "menuAbout"
                           << "actionAbout_Celvane";
}

void TestMainWindow::menuContents()
{
    QFETCH(QString, menu);
    QFETCH(QString, entries);
    QMenu *m = window->findChild<QMenu *>(menu);
    QVERIFY(m);
    QCOMPARE(menuEntries(m), entries.split(QLatin1Char(' ')));
}

void TestMainWindow::actionProperties()
{
    Ui::MainWindowForm *ui = window->form();
    QCOMPARE(ui->actionOpen->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(ui->actionSave->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(ui->actionExit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QCOMPARE(ui->actionCopy->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    // Ctrl+Z and Ctrl+Y, and the checked states, are used where their actions are tested.
    QVERIFY(!ui->actionRedo->isEnabled());
    QCOMPARE(ui->actionSpin_Coating->text(), QStringLiteral("Pour Material"));
}

void TestMainWindow::undoLabelAfterCreateSubstrate()
{
    createSmallSubstrate(window);
    QCOMPARE(workspace().getDocument().getObjects().size(), 1);
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo Create Substrate"));
    QVERIFY(window->form()->actionUndo->isEnabled());
    QVERIFY_CONSOLE_ENDS_WITH(window, "Create Substrate: substrate created successfully.");
    TotalVolume::Ptr v =
        boost::dynamic_pointer_cast<TotalVolume>(workspace().getDocument().getObjects()[0]);
    QCOMPARE(v->getCellsX(), 20u);
    QCOMPARE(v->getCellsZ(), 8u);

    // Ctrl+Z undoes, Ctrl+Y redoes, and the labels follow.
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(workspace().getDocument().getObjects().isEmpty());
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo "));
    QVERIFY(!window->form()->actionUndo->isEnabled());
    QCOMPARE(window->form()->actionRedo->text(), QStringLiteral("Redo Create Substrate"));
    QTest::keyClick(window, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(workspace().getDocument().getObjects().size(), 1);
    QCOMPARE(workspace().getDocument().getObjects()[0]->getId(), v->getId());
}

void TestMainWindow::questionsReachTheUser()
{
    // Steps that would end the undo history ask through the window first; No is the default.
    QString text;
    bool noIsDefault = false;
    whenModal([&](QWidget *w) {
        QMessageBox *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        text = box->text();
        noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(!workspace().confirm("Run it anyway?"));
    QCOMPARE(text, QStringLiteral("Run it anyway?"));
    QVERIFY(noIsDefault);
    answerMessageBox(QMessageBox::Yes);
    QVERIFY(workspace().confirm("Run it anyway?"));
}

void TestMainWindow::unallocatableSubstrateShowsMessage()
{
    Util::SystemMemory::setAvailableBytesOverride(1000);
    QString shown;
    bool stayedOpen = false;
    int widthKept = 0;
    whenModal([&](QWidget *w) {
        Ui::Operations::CreateSubstrateDialog *dialog =
            qobject_cast<Ui::Operations::CreateSubstrateDialog *>(w);
        QVERIFY(dialog);
        dialog->form()->sbxTotalWidth->setValue(123);
        acceptMessageBox(&shown);
        dialog->accept();
        // The dialog is still there with what was entered, to be corrected or cancelled.
        stayedOpen = dialog->isVisible();
        widthKept = dialog->form()->sbxTotalWidth->value();
        dialog->reject();
    });
    window->form()->actionCreate_Substrate->trigger();
    Util::SystemMemory::setAvailableBytesOverride(0);
    QVERIFY2(shown.contains(QLatin1String("123 x 100 x 80")), qPrintable(shown));
    QVERIFY(stayedOpen);
    QCOMPARE(widthKept, 123);
    QVERIFY(workspace().getDocument().getObjects().isEmpty());
    // Cancelled after that: nothing created, nothing to undo, nothing left running.
    QCOMPARE(workspace().getHistory().undoCount(), 0);
    QVERIFY(!window->form()->actionUndo->isEnabled());
    QVERIFY(!workspace().getCurrentOperation());
}

void TestMainWindow::consoleShowsAndHides()
{
    Ui::Console::CommandConsole *console = window->getPresenter().getConsole();
    QVERIFY(console->isVisible());
    QVERIFY(console->isWindow());
    window->form()->actionDelete->trigger(); // waits for a selection
    window->form()->actionConsole->trigger();
    QVERIFY(!console->isVisible());
    window->form()->actionConsole->trigger();
    QVERIFY(console->isVisible());
    // The pending request survived.
    QVERIFY(workspace().getConsoleInput().isEnterRequested());
    console->close();
    QVERIFY(!window->form()->actionConsole->isChecked());
}

void TestMainWindow::consoleStaysAboveItsWindow()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("window stacking is read from an X server");
    Ui::Console::CommandConsole *console = window->getPresenter().getConsole();
    QTRY_VERIFY(console->isVisible());
    QTest::qWait(100); // the raise after the window's first show
    // xwininfo lists the root's children from the top of the stack down.
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"),
                   {QStringLiteral("-root"), QStringLiteral("-children")});
    if (!xwininfo.waitForFinished(10000) || xwininfo.exitCode() != 0)
        QSKIP("xwininfo is not available");
    const QString listing = QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
    const int consoleAt = listing.indexOf(QStringLiteral("0x%1 ").arg(console->winId(), 0, 16));
    const int windowAt = listing.indexOf(QStringLiteral("0x%1 ").arg(window->winId(), 0, 16));
    QVERIFY2(consoleAt >= 0 && windowAt >= 0, qPrintable(listing));
    QVERIFY2(consoleAt < windowAt, qPrintable(listing));
}

void TestMainWindow::consoleTakesTheFocusWhenAsked()
{
    Ui::Console::CommandConsole *console = window->getPresenter().getConsole();
    QWidget *line = console->inputField();
    QApplication::setActiveWindow(window);
    line->clearFocus();
    QVERIFY(console->focusWidget() != line);
    window->form()->actionDelete->trigger(); // asks for a selection and Enter
    // The console's own focus goes to its input line (which window the X server makes active
    // is shared with whatever else runs on the display).
    QTRY_COMPARE(console->focusWidget(), line);
    // Escape there cancels as it does in the main window.
    QApplication::setActiveWindow(console);
    QTest::keyClick(line, Qt::Key_Escape);
    QVERIFY_CONSOLE_ENDS_WITH(window, "Delete: Operation canceled.");
    QVERIFY(!workspace().getCurrentOperation());
}

void TestMainWindow::moveTypedInTheConsole()
{
    createSmallSubstrate(window);
    const boost::shared_ptr<Model::Object> v = workspace().getDocument().getObjects().value(0);
    QVERIFY(v);
    window->form()->actionMove->trigger();
    QVERIFY(window->form()->actionSelect->isChecked()); // selection mode follows the operation
    workspace().getSelection().togglePicked(QList<quint32>{v->getId()});
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_Return);
    QVERIFY(!window->form()->actionSelect->isChecked());
    Ui::Console::CommandConsole *console = window->getPresenter().getConsole();
    QApplication::setActiveWindow(console);
    console->inputField()->setFocus();
    QTest::keyClicks(console->inputField(), QStringLiteral("1, 0, 0"));
    QTest::keyClick(console->inputField(), Qt::Key_Return);
    QVERIFY_CONSOLE_ENDS_WITH(window, "Move: Object(s) moved");
    QCOMPARE(boost::dynamic_pointer_cast<TotalVolume>(v)->getPosition(),
             Util::Vector4D(1, 0, 0, 0));
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo Move Objects"));
}

void TestMainWindow::escapeCancelsAndReturnAnswers()
{
    window->form()->actionDelete->trigger();
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY_CONSOLE_ENDS_WITH(window, "Delete: Operation canceled.");
    QVERIFY(!workspace().getCurrentOperation());
    window->form()->actionDelete->trigger();
    QTest::keyClick(window, Qt::Key_Enter, Qt::KeypadModifier); // nothing selected: asks again
    QVERIFY_CONSOLE_ENDS_WITH(window,
                              "Delete: Select the objects to be deleted and press Return/Enter");
}

void TestMainWindow::newDocumentAsksFirst()
{
    createSmallSubstrate(window);
    answerMessageBox(QMessageBox::Cancel);
    window->form()->actionNew->trigger();
    QCOMPARE(workspace().getDocument().getObjects().size(), 1);
    QVERIFY(window->form()->actionUndo->isEnabled());
    answerMessageBox(QMessageBox::Ok);
    window->form()->actionNew->trigger();
    QVERIFY(workspace().getDocument().getObjects().isEmpty());
    QVERIFY(!window->form()->actionUndo->isEnabled());
    QCOMPARE(workspace().getHistory().undoCount(), 0);
}

void TestMainWindow::closingOneWindowLeavesTheOther()
{
    QPointer<MainWindow> second = showMainWindow();
    QVERIFY(second);
    const QString undoFile = second->getPresenter().getWorkspace().getVolumeStates().undoFileName();
    QVERIFY(QFile::exists(undoFile));
    closeWindow(second);
    QVERIFY(!second);
    QVERIFY(!QFile::exists(undoFile));
    QVERIFY(window && window->isVisible());
    window->form()->actionDelete->trigger();
    QVERIFY(workspace().getCurrentOperation());
}

void TestMainWindow::unmappedActionsStartNothing()
{
    window->form()->actionDelete->trigger();
    QVERIFY(workspace().getCurrentOperation());
    window->form()->actionRun_Step->trigger();
    window->form()->actionFilm_Deposition->trigger();
    QVERIFY(workspace().getCurrentOperation()); // untouched: these are mapped to nothing
    // An id whose operation is not available says so and leaves the running one alone.
    const Core::Operations::Workspace::OperationPtr running = workspace().getCurrentOperation();
    window->getPresenter().operationActivated(QStringLiteral("5"));
    const QString said = QStringLiteral("Operation 5: this operation is not available yet.");
    QVERIFY2(consoleText(window).endsWith(said), qPrintable(consoleText(window)));
    QCOMPARE(window->statusBar()->currentMessage(), said);
    QCOMPARE(workspace().getCurrentOperation(), running);
    QVERIFY(workspace().getConsoleInput().isEnterRequested());
}

void TestMainWindow::exportCellVolume()
{
    const auto dialogs = installFakeDialogs();
    QString shown;
    acceptMessageBox(&shown);
    window->form()->actionExport_Cell_Volume->trigger();
    QCOMPARE(shown, QStringLiteral("There is no cell volume to export."));
    QCOMPARE(dialogs->saveAsked, 0);

    window->getPresenter().getDocument().addObject(
        TotalVolume::createFilled(2, 3, 4, 1.0f, 1.0f, 1.0f, Util::Vector3D(0.0), 5));
    // Without an extension the file gets the format's own.
    dialogs->saveAnswer = workDir.filePath(QStringLiteral("exported"));
    window->form()->actionExport_Cell_Volume->trigger();
    QCOMPARE(dialogs->lastFilter, QStringLiteral("VTK image data (*.vti)"));
    QFile file(workDir.filePath(QStringLiteral("exported.vti")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("WholeExtent=\"0 2 0 3 0 4\""));

    dialogs->saveAnswer = workDir.filePath(QStringLiteral("exported.vti/inside.vti"));
    shown.clear();
    acceptMessageBox(&shown);
    window->form()->actionExport_Cell_Volume->trigger();
    QVERIFY2(shown.startsWith(QLatin1String("The cell volume could not be saved to")),
             qPrintable(shown));
}

void TestMainWindow::exportSurfacePerMaterial()
{
    const auto dialogs = installFakeDialogs();
    // Silicon (material 1) fills the box: 2 * (2 * 3 + 3 * 4 + 2 * 4) faces, 2 triangles each.
    window->getPresenter().getDocument().addObject(
        TotalVolume::createFilled(2, 3, 4, 1.0f, 1.0f, 1.0f, Util::Vector3D(0.0), 1));
    dialogs->saveAnswer = workDir.filePath(QStringLiteral("surface.stl"));
    bool asked = false;
    whenDialog<Ui::ExportSurfaceDialog>([&](Ui::ExportSurfaceDialog *dialog) {
        asked = true;
        dialog->form()->rbtFilePerMaterial->setChecked(true);
        dialog->form()->dbxScale->setValue(2.0);
        dialog->accept();
    });
    window->form()->actionExport_Surface->trigger();
    QVERIFY(asked);
    QCOMPARE(dialogs->lastFilter, QStringLiteral("STL (*.stl)"));
    QFile file(workDir.filePath(QStringLiteral("surface-Si.stl")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.size(), 84 + 104 * 50);
    QVERIFY(!QFile::exists(dialogs->saveAnswer));
}

void TestMainWindow::exportSmoothSurfacePerMaterial()
{
    const auto dialogs = installFakeDialogs();
    // Si (1) and thermal oxide (3) side by side, 2 x 2 x 2 cells each, the view showing the
    // smooth surface. Each block alone gives 44 triangles: 2 for each of its 6 face cubes and
    // 12 edge cubes, 1 for each of its 8 corner cubes.
    std::vector<quint32> ids(16, 1);
    std::fill(ids.begin() + 8, ids.end(), 3u); // x >= 2
    QString error;
    TotalVolume::Ptr volume =
        TotalVolume::create(4, 2, 2, 1.0f, 1.0f, 1.0f, Util::Vector3D(0.0), ids, &error);
    QVERIFY2(volume, qPrintable(error));
    volume->getPainter().setSurfaceAlgorithm(1);
    window->getPresenter().getDocument().addObject(volume);
    dialogs->saveAnswer = workDir.filePath(QStringLiteral("smooth.stl"));
    whenDialog<Ui::ExportSurfaceDialog>([&](Ui::ExportSurfaceDialog *dialog) {
        QVERIFY(dialog->form()->rbtFilePerMaterial->isEnabled());
        dialog->form()->rbtFilePerMaterial->setChecked(true);
        dialog->accept();
    });
    window->form()->actionExport_Surface->trigger();
    for (const char *name : {"smooth-Si.stl", "smooth-Thermal_Si02.stl"})
        QCOMPARE(QFileInfo(workDir.filePath(QLatin1String(name))).size(), qint64(84 + 50 * 44));
    QVERIFY(!QFile::exists(dialogs->saveAnswer));
    // The view keeps its one surface around both blocks, 4 x 2 x 2 cells: 76 triangles.
    QCOMPARE(volume->getPainter().getMarchingCubes().getTriangleCount(), std::size_t(76));
}

void TestMainWindow::saveCrossSectionAsksThePlane()
{
    const auto dialogs = installFakeDialogs();
    window->getPresenter().getDocument().addObject(
        TotalVolume::createFilled(2, 3, 4, 1.0f, 1.0f, 1.0f, Util::Vector3D(0.0), 1));
    dialogs->saveAnswer = workDir.filePath(QStringLiteral("plane"));
    int lastLayer = -1;
    int defaultPixels = 0;
    whenDialog<Ui::CrossSectionDialog>([&](Ui::CrossSectionDialog *dialog) {
        dialog->form()->cbxAxis->setCurrentIndex(1); // across y: 2 x 4 cells
        lastLayer = dialog->form()->sbxIndex->maximum();
        defaultPixels = dialog->form()->sbxPixels->value();
        dialog->form()->sbxPixels->setValue(2);
        dialog->accept();
    });
    window->form()->actionSave_Cross_Section->trigger();
    QCOMPARE(lastLayer, 2);
    // 400 pixels across the longest side, 4 cells, would be 100 per cell: the most offered.
    QCOMPARE(defaultPixels, 64);
    const QImage image(workDir.filePath(QStringLiteral("plane.png")));
    QVERIFY(image.height() >= 8);
    QVERIFY(image.width() > 4);
    QVERIFY(image.pixel(3, 7) != QColor(Qt::white).rgb()); // silicon, not empty
}

CELVANE_GUI_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
