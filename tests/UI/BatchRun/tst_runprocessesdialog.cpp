#include "Core/Operations/selectvolumesoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/BatchRun/processlistarchiver.h"
#include "UI/BatchRun/runprocessesdialog.h"
#include "UI/Operations/planarizationoptionsdialog.h"
#include "UI/mainwindow.h"
#include "fakefiledialogs.h"
#include "guitestutil.h"
#include "testmain.h"
#include "ui_mainwindow.h"
#include "ui_planarizationoptionsdialog.h"
#include "ui_runprocessesdialog.h"
#include "workspacetestutil.h"

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

using Model::Automaton::TotalVolume;
using Ui::ProcessData;
using Ui::RunProcessesDialog;

namespace {

/// A volume of x by y by z cells, silicon in the lowest height layers.
ProcessData substrate(quint32 x = 10, quint32 y = 8, quint32 z = 12, quint32 height = 3)
{
    ProcessData data(11);
    data.addParameter("MaterialId", 1u, false);
    data.addParameter("Lower Left Front Corner", QVariant::fromValue(Util::Vector3D()), true);
    data.addParameter("Volume Size X", x, true);
    data.addParameter("Volume Size Y", y, true);
    data.addParameter("Volume Size Z", z, true);
    data.addParameter("SphericalSubstrate", false, false);
    data.addParameter("Substrate Delta X", 0u, true);
    data.addParameter("Substrate Delta Y", 0u, true);
    data.addParameter("Substrate Delta Z", 0u, true);
    data.addParameter("Substrate Size X", x, true);
    data.addParameter("Substrate Size Y", y, true);
    data.addParameter("Substrate Size Z", height, true);
    return data;
}

ProcessData mooreLayer(quint32 id = 16, const char *name = "Poly-Si")
{
    ProcessData data(2);
    data.addParameter("Thickness", 1u, true);
    data.addParameter("MaterialId", id, false);
    data.addParameter("Material", name, true);
    data.addParameter("Material_Color", QColor(77, 128, 102), false);
    return data;
}

QStringList topLevelTexts(const QTreeWidget *tree, int column)
{
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        texts.append(tree->topLevelItem(i)->text(column));
    return texts;
}

/// Clicks Run and waits until the run has ended and the dialog has taken note.
bool runToEnd(RunProcessesDialog &dialog)
{
    dialog.form()->btnRun->click();
    return QTest::qWaitFor(
        [&]() { return !dialog.isRunning() && !dialog.getRunSummary().isEmpty(); }, 60000);
}

} // namespace

/// The batch-run dialog on a real main window: the list, its file, the run on a worker thread.
class TestRunProcessesDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void form();
    void addAsksTheOperationsDialog();
    void removeAndMoveAtTheEndsChangeNothing();
    void openedStepShowsWholeParameterNames();
    void listStartingWithSubstrateRunsWithoutVolume();
    void withoutVolumeTheRunSaysSo();
    void runTwiceStartsOneRun();
    void unknownTypeLoadsAndIsListedAsSkipped();
    void closeDuringARunStopsIt();
    void runIsOneHistoryEntry();
    void crystalOnViewFitsTheRunsResult();
    void saveImageStepWritesTheView();
    void batchRunOperationOpensTheDialogOnTheSelectedVolume();

private:
    Core::Operations::Workspace &workspace() { return window->getPresenter().getWorkspace(); }
    QTemporaryDir dir;
    QPointer<Ui::MainWindow> window;
    boost::shared_ptr<FakeDialogs> dialogs;
};

void TestRunProcessesDialog::init()
{
    QDir::setCurrent(dir.path());
    dialogs = installFakeDialogs();
    window = showMainWindow(600, 400);
    QVERIFY(window);
}

void TestRunProcessesDialog::cleanup()
{
    closeWindow(window);
}

void TestRunProcessesDialog::form()
{
    RunProcessesDialog dialog(window, TotalVolume::Ptr(), workspace());
    Ui::RunProcessesBaseDialog *ui = dialog.form();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Batch Run"));
    QCOMPARE(ui->treeWidget->columnCount(), 4);
    const QTreeWidgetItem *header = ui->treeWidget->headerItem();
    QCOMPARE(QStringList({header->text(1), header->text(2), header->text(3)}),
             QStringList({"Process", "Parameter", "Value"}));
    QList<uint> codes;
    for (int i = 0; i < ui->cbxProcess->count(); ++i)
        codes.append(ui->cbxProcess->itemData(i).toUInt());
    QCOMPARE(itemTexts(ui->cbxProcess),
             QStringList({"CVD", "PVD", "Isotropic Etching", "Moore Deposition", "Moore Etching",
                          "Photolithography", "Planarization", "Si Wet Etching", "Electroplating",
                          "Doping", "Ion Implantation", "Spin Coating", "Simple RIE",
                          "Thermal Oxidation", "Create Substrate", "Save Image"}));
    QCOMPARE(codes, QList<uint>({4, 12, 5, 2, 3, 0, 6, 1, 7, 8, 14, 9, 13, 15, 11, 10}));
}

void TestRunProcessesDialog::addAsksTheOperationsDialog()
{
    RunProcessesDialog dialog(window, TotalVolume::Ptr(), workspace());
    dialog.form()->cbxProcess->setCurrentText("Planarization");
    whenDialog<Ui::Operations::PlanarizationOptionsDialog>([](auto *d) { d->reject(); });
    dialog.form()->btnAddProcess->click();
    QCOMPARE(dialog.getProcessList().size(), 0);
    whenDialog<Ui::Operations::PlanarizationOptionsDialog>([](auto *d) {
        d->form()->sbxMaximumHeight->setValue(9);
        d->form()->sbxMinimumHeight->setValue(2);
        d->accept();
    });
    dialog.form()->btnAddProcess->click();
    QCOMPARE(dialog.getProcessList().size(), 1);
    const ProcessData &step = dialog.getProcessList().first();
    QCOMPARE(step.getProcessType(), 6u);
    QCOMPARE(step.getParameter("Maximum Height"), QVariant(9u));
    QCOMPARE(step.getParameter("Minimum Height"), QVariant(2u));
    // The row: position, name, and one child per visible parameter.
    const QTreeWidgetItem *row = dialog.form()->treeWidget->topLevelItem(0);
    QCOMPARE(row->text(0), QStringLiteral("1"));
    QCOMPARE(row->text(1), QStringLiteral("Planarization"));
    QCOMPARE(row->childCount(), 2);
    QCOMPARE(row->child(0)->text(2) + "=" + row->child(0)->text(3),
             QStringLiteral("Maximum Height=9"));
    // A parameter row cannot be selected.
    dialog.form()->treeWidget->setCurrentItem(row->child(1));
    QVERIFY(dialog.form()->treeWidget->selectedItems().isEmpty());
}

void TestRunProcessesDialog::removeAndMoveAtTheEndsChangeNothing()
{
    RunProcessesDialog dialog(window, TotalVolume::Ptr(), workspace());
    dialog.appendProcess(substrate());
    dialog.appendProcess(mooreLayer());
    QTreeWidget *tree = dialog.form()->treeWidget;
    const QStringList order{"Create Substrate", "Moore deposition"};
    dialog.form()->btnRemoveProcess->click(); // nothing selected
    QCOMPARE(topLevelTexts(tree, 1), order);
    tree->setCurrentItem(tree->topLevelItem(0));
    dialog.form()->btnMoveUp->click();
    QCOMPARE(topLevelTexts(tree, 1), order);
    tree->setCurrentItem(tree->topLevelItem(1));
    dialog.form()->btnMoveDown->click();
    QCOMPARE(topLevelTexts(tree, 1), order);
    dialog.form()->btnMoveUp->click();
    QCOMPARE(topLevelTexts(tree, 1), QStringList({"Moore deposition", "Create Substrate"}));
    QCOMPARE(topLevelTexts(tree, 0), QStringList({"1", "2"}));
    QCOMPARE(tree->currentItem(), tree->topLevelItem(0)); // the moved row stays current
    dialog.form()->btnRemoveProcess->click();
    QCOMPARE(topLevelTexts(tree, 1), QStringList({"Create Substrate"}));
    QCOMPARE(dialog.getProcessList().size(), 1);
}

void TestRunProcessesDialog::openedStepShowsWholeParameterNames()
{
    RunProcessesDialog dialog(window, TotalVolume::Ptr(), workspace());
    dialog.appendProcess(substrate());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTreeWidget *tree = dialog.form()->treeWidget;
    tree->expandItem(tree->topLevelItem(0));
    QVERIFY(tree->columnWidth(2) >
            tree->fontMetrics().horizontalAdvance(QStringLiteral("Lower Left Front Corner")));
}

void TestRunProcessesDialog::listStartingWithSubstrateRunsWithoutVolume()
{
    RunProcessesDialog dialog(window, TotalVolume::Ptr(), workspace());
    dialog.appendProcess(substrate());
    dialog.appendProcess(mooreLayer());
    QVERIFY(runToEnd(dialog));
    QCOMPARE(dialog.getRunSummary(), QStringLiteral("2 of 2 steps ran."));
    QCOMPARE(dialog.form()->progressBar->value(), 2);
    const TotalVolume::Ptr v = dialog.getVolume();
    QVERIFY(v);
    QVERIFY(workspace().getDocument().contains(v));
    QCOMPARE(count(v, 1), quint64(10 * 8 * 3));
    QCOMPARE(count(v, 16), quint64(10 * 8));
    QVERIFY(workspace().getDocument().isModified());
}

void TestRunProcessesDialog::withoutVolumeTheRunSaysSo()
{
    RunProcessesDialog dialog(window, TotalVolume::Ptr(), workspace());
    dialog.appendProcess(mooreLayer());
    dialog.appendProcess(substrate());
    QString text;
    acceptMessageBox(&text);
    QVERIFY(runToEnd(dialog));
    QCOMPARE(text, QStringLiteral("No cell volume was selected and a cell volume was not created. "
                                  "The cell volume must be created before any other process."));
    QCOMPARE(dialog.form()->progressBar->value(), 0);
    QVERIFY(workspace().getDocument().getObjects().isEmpty());

    // A substrate too large for any memory: the console says why there is no volume.
    RunProcessesDialog huge(window, TotalVolume::Ptr(), workspace());
    huge.appendProcess(substrate(4000000000u));
    huge.appendProcess(mooreLayer());
    acceptMessageBox(&text);
    QVERIFY(runToEnd(huge));
    QVERIFY(text.startsWith(QLatin1String("No cell volume was selected")));
    QVERIFY2(consoleText(window).contains(
                 "Batch Run: Step 1 (Create Substrate) failed: Cannot create a cell volume"),
             qPrintable(consoleText(window)));
}

void TestRunProcessesDialog::runTwiceStartsOneRun()
{
    RunProcessesDialog dialog(window, TotalVolume::Ptr(), workspace());
    dialog.appendProcess(substrate());
    for (int i = 0; i < 20; ++i)
        dialog.appendProcess(mooreLayer());
    dialog.form()->btnRun->click();
    dialog.form()->btnRun->click();
    QVERIFY(QTest::qWaitFor([&]() { return !dialog.getRunSummary().isEmpty(); }, 60000));
    QCOMPARE(workspace().getDocument().getObjects().size(), 1);
    QCOMPARE(count(dialog.getVolume(), 16), quint64(10 * 8 * 9)); // fills the volume
}

void TestRunProcessesDialog::unknownTypeLoadsAndIsListedAsSkipped()
{
    const QString path = dir.filePath("odd.plst");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\"?><Process-List><Process-Data process-type=\"99\"/>"
               "</Process-List>");
    file.close();
    const TotalVolume::Ptr v = TotalVolume::createFilled(4, 4, 4, 1, 1, 1, Util::Vector3D(), 1);
    workspace().getDocument().addObject(v);
    RunProcessesDialog dialog(window, v, workspace());
    dialogs->openAnswer = path;
    dialog.form()->btnLoadList->click();
    QCOMPARE(dialogs->lastCaption, QStringLiteral("Process List File"));
    QCOMPARE(dialogs->lastFilter, QStringLiteral("Process List (*.plst)"));
    QCOMPARE(topLevelTexts(dialog.form()->treeWidget, 1), QStringList({"Unknown process"}));
    QString text;
    acceptMessageBox(&text);
    QVERIFY(runToEnd(dialog));
    QCOMPARE(text, QStringLiteral("0 of 1 steps ran.\n"
                                  "Step 1 (Unknown process) skipped: unknown process type 99"));
    QCOMPARE(count(v, 1), quint64(64));
    // A file that is no process list leaves the list as it was.
    dialogs->openAnswer = dir.filePath("missing.plst");
    acceptMessageBox(&text);
    dialog.form()->btnLoadList->click();
    QCOMPARE(dialog.getProcessList().size(), 1);
}

void TestRunProcessesDialog::closeDuringARunStopsIt()
{
    // Steps long enough that the run is still in its first ones when Close is pressed.
    RunProcessesDialog dialog(window, TotalVolume::Ptr(), workspace());
    dialog.appendProcess(substrate(120, 100, 60, 10));
    ProcessData film(4);
    film.addParameter("Thickness", 2.0, true);
    film.addParameter("MaterialId", 16u, false);
    for (int i = 0; i < 200; ++i)
        dialog.appendProcess(film);
    QString text;
    acceptMessageBox(&text);
    dialog.form()->btnRun->click();
    QCOMPARE(dialog.form()->btnClose->text(), QStringLiteral("Stop"));
    dialog.form()->btnClose->click();
    QVERIFY(QTest::qWaitFor([&]() { return !dialog.getRunSummary().isEmpty(); }, 60000));
    QVERIFY2(text.contains("The run was stopped after step"), qPrintable(text));
    QCOMPARE(dialog.form()->btnClose->text(), QStringLiteral("Close"));
    QVERIFY(dialog.getRunSummary().section(' ', 0, 0).toInt() < 10);
}

void TestRunProcessesDialog::runIsOneHistoryEntry()
{
    // One undoable step on the history.
    createSmallSubstrate(window);
    QCOMPARE(workspace().getHistory().undoCount(), 1);
    const TotalVolume::Ptr v =
        boost::dynamic_pointer_cast<TotalVolume>(workspace().getDocument().getObjects().first());
    const std::vector<quint32> before = cellsOf(v);
    // A layer on the volume, a new volume, a layer on that one.
    RunProcessesDialog dialog(window, v, workspace());
    dialog.appendProcess(mooreLayer());
    dialog.appendProcess(substrate());
    dialog.appendProcess(mooreLayer());
    int asked = 0;
    workspace().setConfirmation([&](const std::string &) {
        ++asked;
        return false;
    });
    QVERIFY(runToEnd(dialog));
    QCOMPARE(asked, 0);
    const std::vector<quint32> after = cellsOf(v);
    const TotalVolume::Ptr created = dialog.getVolume();
    QVERIFY(count(v, 16) > 0);
    QVERIFY(count(created, 16) > 0);
    QCOMPARE(workspace().getHistory().undoCount(), 2);
    QCOMPARE(QString::fromStdString(workspace().getHistory().undoTopName()),
             QStringLiteral("Batch Run"));
    // One undo takes the whole run back; the substrate's creation stays undoable.
    QVERIFY(workspace().getHistory().undo());
    QVERIFY(cellsOf(v) == before);
    QVERIFY(!workspace().getDocument().contains(created));
    QCOMPARE(workspace().getHistory().undoCount(), 1);
    QVERIFY(workspace().getHistory().redo());
    QVERIFY(cellsOf(v) == after);
    QVERIFY(workspace().getDocument().contains(created));
    QVERIFY(count(created, 16) > 0);
}

void TestRunProcessesDialog::crystalOnViewFitsTheRunsResult()
{
    // The volume shows its atoms; the run adds silicon, after which the atoms must fit.
    createSmallSubstrate(window);
    const TotalVolume::Ptr v =
        boost::dynamic_pointer_cast<TotalVolume>(workspace().getDocument().getObjects().first());
    v->getPainter().setRenderSiAtoms(true);
    RunProcessesDialog dialog(window, v, workspace());
    dialog.appendProcess(mooreLayer(1, "Si"));
    QVERIFY(runToEnd(dialog));
    QCOMPARE(count(v, 1), quint64(20 * 10 * 4));
    QVERIFY(v->getSiLattice());
    QVERIFY(!workspace().getVolumeRecords().isLatticeStale(v->getId()));
}

void TestRunProcessesDialog::saveImageStepWritesTheView()
{
    RunProcessesDialog dialog(window, TotalVolume::Ptr(), workspace());
    dialog.appendProcess(substrate());
    ProcessData image(10);
    image.addParameter("Filename", dir.filePath("view.png"), true);
    dialog.appendProcess(image);
    QVERIFY(runToEnd(dialog));
    QCOMPARE(dialog.getRunSummary(), QStringLiteral("2 of 2 steps ran."));
    QImage saved(dir.filePath("view.png"));
    QVERIFY(!saved.isNull());
}

void TestRunProcessesDialog::batchRunOperationOpensTheDialogOnTheSelectedVolume()
{
    const TotalVolume::Ptr v = TotalVolume::createFilled(4, 4, 4, 1, 1, 1, Util::Vector3D(), 1);
    v->setTopMask(std::vector<bool>(16, true), 4, 4);
    workspace().getDocument().addObject(v);
    workspace().getSelection().setSelectionMode(true);
    workspace().getSelection().togglePicked(QList<quint32>{v->getId()});
    TotalVolume::Ptr seen;
    whenDialog<RunProcessesDialog>([&](RunProcessesDialog *d) {
        seen = d->getVolume();
        d->form()->btnClose->click();
    });
    window->form()->actionBatch_Run->trigger();
    QCOMPARE(seen, v);
    QCOMPARE(v->getTopMask(), std::vector<bool>(16, false)); // the masks are cleared after
}

CELVANE_GUI_TEST_MAIN(TestRunProcessesDialog)
#include "tst_runprocessesdialog.moc"
