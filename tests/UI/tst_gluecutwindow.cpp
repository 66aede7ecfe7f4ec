#include "Core/Operations/workspace.h"
#include "UI/Console/commandconsole.h"
#include "UI/Operations/cutcellvolumedialog.h"
#include "UI/Operations/extractfilmdialog.h"
#include "UI/Operations/gluesubstratedialog.h"
#include "testmain.h"
#include "ui_cutcellvolumedialog.h"
#include "ui_extractfilmdialog.h"
#include "ui_gluesubstratedialog.h"
#include "ui_mainwindow.h"
#include "viewtestutil.h"
#include "workspacetestutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>

using Model::Automaton::TotalVolume;
using Ui::MainWindow;

/// Cut planes, film extraction and gluing driven the way a user drives them: the menu entry,
/// the console's prompts answered by clicks in the view and Return, and the options dialog.
class TestGlueCutWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void cutHidesTheLowerLayers();
    void extractFilmBesideTheSource();
    void glueTwoVolumes();
    void glueTooLargeForMemoryIsRefused();

private:
    /// A 100 x 100 x 80 volume with silicon 60 layers high, made through the menu.
    TotalVolume::Ptr tallSubstrate();
    /// Clicks the world point (x, y) in the top view, then presses Return.
    void pickAndReturn(double x, double y);

    QTemporaryDir workDir;
    QPointer<MainWindow> window;
};

void TestGlueCutWindow::init()
{
    QDir::setCurrent(workDir.path());
    window = showMainWindow(1024, 768);
    QVERIFY(window);
    QApplication::setActiveWindow(window);
}

void TestGlueCutWindow::cleanup()
{
    closeWindow(window);
}

TotalVolume::Ptr TestGlueCutWindow::tallSubstrate()
{
    whenDialog<Ui::Operations::CreateSubstrateDialog>([](Ui::Operations::CreateSubstrateDialog *d) {
        d->findChild<QSpinBox *>("sbxSubsHeight")->setValue(60);
        d->accept();
    });
    window->form()->actionCreate_Substrate->trigger();
    const auto objects = window->getPresenter().getDocument().getObjects();
    return objects.isEmpty() ? TotalVolume::Ptr()
                             : boost::dynamic_pointer_cast<TotalVolume>(objects.last());
}

void TestGlueCutWindow::pickAndReturn(double x, double y)
{
    window->form()->actionTop_View->trigger();
    click(window->getGLWidget(), pixelOf(window->getGLWidget(), x, y));
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_Return);
}

void TestGlueCutWindow::cutHidesTheLowerLayers()
{
    const TotalVolume::Ptr volume = tallSubstrate();
    QVERIFY(volume);
    Ui::GLWidget *view = window->getGLWidget();
    window->form()->actionLighting->setChecked(false);
    auto frontPixel = [&](double x, double z) {
        window->form()->actionFront_View->trigger();
        return view->renderImage().pixel(pixelOf(view, x, z));
    };
    QVERIFY(isSiliconGrey(frontPixel(50, 20)));

    // Cut away the lower forty layers, previewed while the dialog is open.
    window->form()->actionCut_Cell_Volume->trigger();
    QVERIFY_CONSOLE_ENDS_WITH(window,
                              "Change Cut Planes: Select a cell volume and press Enter/Return.");
    bool previewed = false;
    int upperZMaximum = 0, upperXMaximum = 0;
    whenDialog<Ui::Operations::CutCellVolumeDialog>([&](Ui::Operations::CutCellVolumeDialog *d) {
        upperZMaximum = d->form()->sbxUpperZ->maximum();
        upperXMaximum = d->form()->sbxUpperX->maximum();
        d->form()->chkPreview->setChecked(true);
        d->form()->sldLowerZ->setValue(40);
        QTest::qWait(50);
        quint32 lower[3], upper[3];
        volume->getPainter().getCutLimits(lower, upper);
        previewed = lower[2] == 40;
        d->accept();
    });
    pickAndReturn(50, 50);
    QVERIFY(previewed);
    QCOMPARE(upperZMaximum, 80);
    QCOMPARE(upperXMaximum, 100);
    QVERIFY_CONSOLE_ENDS_WITH(window, "Change Cut Planes: Cell volume selected.\n"
                                      "Change Cut Planes: Cut planes changed.");
    QCOMPARE(frontPixel(50, 20), qRgb(0, 0, 0));
    QVERIFY(isSiliconGrey(frontPixel(50, 50)));
    // From below, the faces on z = 40 close the cut.
    window->form()->actionBottom_View->trigger();
    QVERIFY(isSiliconGrey(view->renderImage().pixel(pixelOf(view, 50, -50))));

    // A preview that is cancelled leaves the forty layers hidden.
    window->form()->actionCut_Cell_Volume->trigger();
    QRgb duringPreview = 0;
    whenDialog<Ui::Operations::CutCellVolumeDialog>([&](Ui::Operations::CutCellVolumeDialog *d) {
        QCOMPARE(d->form()->sbxLowerZ->value(), 40);
        d->form()->chkPreview->setChecked(true);
        d->form()->sbxLowerZ->setValue(0);
        QTest::qWait(50);
        duringPreview = frontPixel(50, 20);
        d->reject();
    });
    pickAndReturn(50, 50);
    QVERIFY(isSiliconGrey(duringPreview));
    QVERIFY_CONSOLE_ENDS_WITH(window, "Change Cut Planes: Operation Canceled!");
    QCOMPARE(frontPixel(50, 20), qRgb(0, 0, 0));
}

void TestGlueCutWindow::extractFilmBesideTheSource()
{
    const TotalVolume::Ptr volume = tallSubstrate();
    QVERIFY(volume);
    window->form()->actionExtract_Film->trigger();
    QVERIFY_CONSOLE_ENDS_WITH(window, "Extract Film: select a cell volume and press Enter/Return.");
    whenDialog<Ui::Operations::ExtractFilmDialog>([](Ui::Operations::ExtractFilmDialog *d) {
        d->form()->cbxFilm->setCurrentIndex(d->form()->cbxFilm->findData(1u)); // silicon
        d->form()->chkInvertFilm->setChecked(true);
        d->accept();
    });
    pickAndReturn(50, 50);
    QVERIFY_CONSOLE_ENDS_WITH(window, "Extract Film: cell volume selected.\n"
                                      "Extract Film: film extracted.");
    const auto objects = window->getPresenter().getDocument().getObjects();
    QCOMPARE(objects.size(), 2);
    const TotalVolume::Ptr film = boost::dynamic_pointer_cast<TotalVolume>(objects.last());
    QCOMPARE(film->getPosition(), Util::Vector3D(110, 0, 0));
    QCOMPARE(count(film, 1), quint64(100 * 100 * 60));
    QCOMPARE(cellAt(film, 0, 0, 59), 1u);
    QCOMPARE(cellAt(film, 0, 0, 60), 0u);
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo Extract Film"));
}

void TestGlueCutWindow::glueTwoVolumes()
{
    const TotalVolume::Ptr base = createDefaultSubstrate(window); // silicon 30 high
    QVERIFY(base);
    // A 20 x 20 x 10 block of oxide beside it, to go on top.
    const TotalVolume::Ptr top =
        TotalVolume::createFilled(20, 20, 10, 1.0f, 1.0f, 1.0f, Util::Vector3D(-150, -150, 0), 3);
    top->getPainter().refresh();
    window->getPresenter().getDocument().addObject(top);

    window->form()->actionGlue_Substrate->trigger();
    QVERIFY_CONSOLE_ENDS_WITH(window,
                              "Glue Volumes: select the base cell volume and press Enter/Return.");
    pickAndReturn(50, 50);
    QVERIFY_CONSOLE_ENDS_WITH(
        window, "Glue Volumes: base cell volume selected. Select top cell volume and press enter");
    QString limits;
    whenDialog<Ui::Operations::GlueSubstrateDialog>([&](Ui::Operations::GlueSubstrateDialog *d) {
        Ui::GlueSubstrateForm *ui = d->form();
        limits = QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(ui->sbxSizeX->value())
                     .arg(ui->sbxSizeX->isEnabled())
                     .arg(ui->sbxSizeY->value())
                     .arg(ui->sbxSizeZ->minimum())
                     .arg(ui->sbxDisplacementX->maximum())
                     .arg(ui->sbxDisplacementY->maximum());
        ui->sbxDisplacementX->setValue(5);
        ui->sbxDisplacementY->setValue(7);
        d->accept();
    });
    pickAndReturn(-140, -140);
    QCOMPARE(limits, QStringLiteral("100 0 100 40 80 80"));
    QVERIFY_CONSOLE_ENDS_WITH(window, "Glue Volumes: top cell volume selected.\n"
                                      "Glue Volumes: volumes glued.");
    const auto objects = window->getPresenter().getDocument().getObjects();
    QCOMPARE(objects.size(), 1);
    const TotalVolume::Ptr glued = boost::dynamic_pointer_cast<TotalVolume>(objects.first());
    QCOMPARE(glued->getCellsZ(), 40u);
    QCOMPARE(cellAt(glued, 50, 50, 29), 1u);
    QCOMPARE(cellAt(glued, 5, 7, 30), 3u);
    QCOMPARE(cellAt(glued, 24, 26, 39), 3u);
    QCOMPARE(cellAt(glued, 4, 7, 30), 0u);
    QCOMPARE(cellAt(glued, 25, 7, 30), 0u);

    window->form()->actionUndo->trigger();
    QCOMPARE(window->getPresenter().getDocument().getObjects().size(), 2);
    window->form()->actionRedo->trigger();
    QCOMPARE(window->getPresenter().getDocument().getObjects().size(), 1);
}

void TestGlueCutWindow::glueTooLargeForMemoryIsRefused()
{
    const TotalVolume::Ptr base = createDefaultSubstrate(window);
    const TotalVolume::Ptr top =
        TotalVolume::createFilled(20, 20, 10, 1.0f, 1.0f, 1.0f, Util::Vector3D(-150, -150, 0), 3);
    window->getPresenter().getDocument().addObject(top);
    // Both picked beforehand, base first: the dialog opens at once.
    window->form()->actionSelect->setChecked(true);
    for (QPoint p : {QPoint(50, 50), QPoint(-140, -140)})
        click(window->getGLWidget(), pixelOf(window->getGLWidget(), p.x(), p.y()));
    QString message;
    whenDialog<Ui::Operations::GlueSubstrateDialog>([&](Ui::Operations::GlueSubstrateDialog *d) {
        d->form()->sbxSizeZ->setValue(999999999);
        acceptMessageBox(&message);
        d->accept();
    });
    window->form()->actionGlue_Substrate->trigger();
    QVERIFY2(message.startsWith(QLatin1String("Cannot create a cell volume of 100 x 100 x "
                                              "999999999 cells")),
             qPrintable(message));
    QVERIFY(
        consoleText(window).contains(QLatin1String("Glue Volumes: Cannot create a cell volume")));
    QVERIFY_CONSOLE_ENDS_WITH(window, "Glue Volumes: Operation canceled.");
    QCOMPARE(window->getPresenter().getDocument().getObjects(),
             (QList<boost::shared_ptr<Model::Object>>{base, top}));
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo Create Substrate"));
}

CELVANE_GUI_TEST_MAIN(TestGlueCutWindow)
#include "tst_gluecutwindow.moc"
