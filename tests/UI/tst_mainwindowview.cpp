#include "Core/Operations/workspace.h"
#include "Model/Materials/materialfactory.h"
#include "Model/Process/processfactory.h"
#include "Model/palette.h"
#include "UI/Input/changecolorsdialog.h"
#include "UI/Input/gridspacingdialog.h"
#include "UI/Input/translateviewdialog.h"
#include "UI/Input/viewangledialog.h"
#include "UI/Input/zoomdialog.h"
#include "UI/editcompatiblematerialsdialog.h"
#include "UI/glwidget.h"
#include "UI/mainwindow.h"
#include "UI/managematerialsdialog.h"
#include "UI/materialtableviewitem.h"
#include "testmain.h"
#include "ui_changecolorsdialog.h"
#include "ui_editcompatiblematerialsdialog.h"
#include "ui_mainwindow.h"
#include "ui_viewangledialog.h"
#include "ui_zoomdialog.h"
#include "viewtestutil.h"

#include <QColorDialog>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>

using Model::Automaton::TotalVolume;
using Ui::GLWidget;
using Ui::MainWindow;

namespace {

/// Where test artefacts for people to look at go: beside the test programs.
QString artefactPath(const QString &name)
{
    QDir dir(QCoreApplication::applicationDirPath());
    dir.mkpath(QStringLiteral("artefacts"));
    return dir.filePath(QStringLiteral("artefacts/") + name);
}

} // namespace

/// The view commands of the main window: preset and manual views, zoom, translation, grid,
/// window colours, screen images, and the materials menu.
class TestMainWindowView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void manualViewRemembersTheLastAngles();
    void zoomDialogShowsAndSetsPercent();
    void translateDialogPans();
    void gridSpacingDialog();
    void windowColorsPickedTakeEffect();
    void windowColorsLowScheme();
    void saveImageWritesWhatTheViewShows();
    void saveImageOfAWindowNeverShown();
    void saveImageDialogCancelledWritesNothing();
    void saveImageStartsInTheLastFolder();
    void updateObserverRepaintsTheView();
    void manageMaterialsRecoloursTheView();
    void manageMaterialsRejectedChangesNothing();
    void manageCompatibleMaterialsWritesTheCatalogue();
    void screenshotOfTheMainWindow();

private:
    GLWidget *view() const { return window->getGLWidget(); }

    QPointer<MainWindow> window;
    QTemporaryDir workDir;
};

void TestMainWindowView::init()
{
    QDir::setCurrent(workDir.path());
    Model::setColorScheme(Model::DefaultScheme);
    window = showMainWindow(1024, 768);
    QVERIFY(window);
    QApplication::setActiveWindow(window);
}

void TestMainWindowView::cleanup()
{
    closeWindow(window);
    Model::setColorScheme(Model::DefaultScheme);
}

void TestMainWindowView::manualViewRemembersTheLastAngles()
{
    double shown[3] = {-1, -1, -1};
    whenDialog<Ui::Input::ViewAngleDialog>([&shown](Ui::Input::ViewAngleDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Set Viewing Angle"));
        shown[0] = dialog->getAngleX();
        shown[1] = dialog->getAngleY();
        shown[2] = dialog->getAngleZ();
        QCOMPARE(dialog->form()->dbxAngleX->minimum(), -360.0);
        QCOMPARE(dialog->form()->dbxAngleZ->maximum(), 360.0);
        dialog->setAngleX(-90.7);
        dialog->setAngleZ(180.2);
        dialog->accept();
    });
    window->form()->actionManual_View->trigger();
    QCOMPARE(shown[0], 0.0);
    QCOMPARE(shown[2], 0.0);
    // Truncated to whole degrees: the back view.
    QMatrix4x4 back;
    back.rotate(-90, 1, 0, 0);
    back.rotate(180, 0, 0, 1);
    QCOMPARE(view()->getCamera().modelView(), back);

    whenDialog<Ui::Input::ViewAngleDialog>([&shown](Ui::Input::ViewAngleDialog *dialog) {
        shown[0] = dialog->getAngleX();
        shown[2] = dialog->getAngleZ();
        dialog->setAngleX(45);
        dialog->reject();
    });
    window->form()->actionManual_View->trigger();
    QCOMPARE(shown[0], -90.7);
    QCOMPARE(shown[2], 180.2);
    QCOMPARE(view()->getCamera().modelView(), back); // cancelled: the view stays
}

void TestMainWindowView::zoomDialogShowsAndSetsPercent()
{
    double shown = 0;
    whenDialog<Ui::Input::ZoomDialog>([&shown](Ui::Input::ZoomDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Set Zoom"));
        QCOMPARE(dialog->form()->dbxZoom->minimum(), 0.1);
        QCOMPARE(dialog->form()->dbxZoom->maximum(), 100000.0);
        QCOMPARE(dialog->form()->dbxZoom->decimals(), 2);
        QCOMPARE(dialog->form()->dbxZoom->singleStep(), 1.0);
        shown = dialog->getPercent();
        dialog->setPercent(200);
        dialog->accept();
    });
    window->form()->actionZoom->trigger();
    QCOMPARE(shown, 100.0);
    QCOMPARE(view()->getZoom(), 0.5f);
    // A view 800 pixels wide would show 400 world units: the projection spans zoom * width.
    QVERIFY(qAbs(projection(view())(0, 0) - 2.0f / (0.5f * view()->width())) < 1e-7f);

    // The wheel and the dialog speak of the same quantity.
    wheel(view(), 120);
    whenDialog<Ui::Input::ZoomDialog>([&shown](Ui::Input::ZoomDialog *dialog) {
        shown = dialog->getPercent();
        dialog->reject();
    });
    window->form()->actionZoom->trigger();
    QCOMPARE(shown, 220.0);
    QVERIFY(qAbs(view()->getZoom() - 0.5f / 1.1f) < 1e-6f); // rejected: unchanged
}

void TestMainWindowView::translateDialogPans()
{
    whenDialog<Ui::Input::TranslateViewDialog>([](Ui::Input::TranslateViewDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Translate View"));
        QCOMPARE(dialog->getDistanceX(), 0.0);
        dialog->setDistanceX(12.7);
        dialog->setDistanceY(-3.2);
        dialog->setDistanceZ(100);
        dialog->accept();
    });
    window->form()->actionTranslate->trigger();
    QCOMPARE(view()->getCamera().getPanX(), 12.0f);
    QCOMPARE(view()->getCamera().getPanY(), -3.0f);
    // Shown as 0 again next time.
    double shown = -1;
    whenDialog<Ui::Input::TranslateViewDialog>([&shown](Ui::Input::TranslateViewDialog *dialog) {
        shown = dialog->getDistanceX();
        dialog->reject();
    });
    window->form()->actionTranslate->trigger();
    QCOMPARE(shown, 0.0);
    QCOMPARE(view()->getCamera().getPanX(), 12.0f);
}

void TestMainWindowView::gridSpacingDialog()
{
    double shown = 0;
    whenDialog<Ui::Input::GridSpacingDialog>([&shown](Ui::Input::GridSpacingDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Set Grid Spacing"));
        shown = dialog->getSpacing();
        dialog->setSpacing(2.5);
        dialog->accept();
    });
    window->form()->actionGrid_Spacing->trigger();
    QCOMPARE(shown, 10.0);
    QCOMPARE(view()->getGrid().spacing, 2.5f);
}

void TestMainWindowView::windowColorsPickedTakeEffect()
{
    whenDialog<Ui::Input::ChangeColorsDialog>([](Ui::Input::ChangeColorsDialog *dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("ChangeColorsDialogForm"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Change Default Colors"));
        // The user picks a dark blue background through the colour chooser.
        whenDialog<QColorDialog>([](QColorDialog *chooser) {
            QCOMPARE(chooser->windowTitle(), QStringLiteral("Select new color"));
            chooser->setCurrentColor(QColor(0, 0, 96));
            chooser->accept();
        });
        dialog->form()->btnBackgroundColor->click();
        dialog->accept();
    });
    window->form()->actionConfigure_Window_Colors->trigger();
    QCOMPARE(Model::getColorScheme(), int(Model::CustomScheme));
    QCOMPARE(Model::getColor(Model::BackgroundColor, Model::CustomScheme).z, 96 / 255.0);
    const QImage image = view()->renderImage();
    QCOMPARE(image.pixel(5, 5), qRgb(0, 0, 96));
}

void TestMainWindowView::windowColorsLowScheme()
{
    whenDialog<Ui::Input::ChangeColorsDialog>([](Ui::Input::ChangeColorsDialog *dialog) {
        dialog->form()->btnLoadLowColorScheme->click();
        dialog->accept();
    });
    window->form()->actionConfigure_Window_Colors->trigger();
    QCOMPARE(Model::getColorScheme(), int(Model::LowScheme));
    QCOMPARE(view()->renderImage().pixel(5, 5), qRgb(255, 255, 255));
    // Cancelling changes nothing.
    whenDialog<Ui::Input::ChangeColorsDialog>([](Ui::Input::ChangeColorsDialog *dialog) {
        dialog->form()->btnLoadDefaultColors->click();
        dialog->reject();
    });
    window->form()->actionConfigure_Window_Colors->trigger();
    QCOMPARE(Model::getColorScheme(), int(Model::LowScheme));
}

void TestMainWindowView::saveImageWritesWhatTheViewShows()
{
    QVERIFY(createUnlitSubstrate(window));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("view.png"));
    // A window lying over the view does not end up in the image.
    QWidget cover;
    cover.setGeometry(window->geometry());
    cover.setStyleSheet(QStringLiteral("background: red"));
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    window->saveImage(path);
    cover.hide();
    QImage image;
    QVERIFY(image.load(path));
    QCOMPARE(image.size(), view()->size());
    QVERIFY(isSiliconGrey(image.pixel(pixelOf(view(), 50, 50))));
    QCOMPARE(image.pixel(pixelOf(view(), -50, -50)), qRgb(0, 0, 0));
    QCOMPARE(MainWindow::lastImageLocation().absolutePath(), QDir(folder.path()).absolutePath());
}

void TestMainWindowView::saveImageOfAWindowNeverShown()
{
    QPointer<MainWindow> hidden = new MainWindow();
    hidden->resize(640, 480);
    createUnlitSubstrate(hidden);
    hidden->getGLWidget()->resize(400, 300); // what the layout would give it when shown
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("hidden.png"));
    hidden->saveImage(path);
    QImage image;
    QVERIFY(image.load(path));
    QCOMPARE(image.size(), hidden->getGLWidget()->size());
    QVERIFY(isSiliconGrey(image.pixel(pixelOf(hidden->getGLWidget(), 50, 50))));
    delete hidden;
}

void TestMainWindowView::saveImageDialogCancelledWritesNothing()
{
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    const auto dialogs = installFakeDialogs();
    window->form()->actionSave_Image->trigger();
    QCOMPARE(dialogs->saveAsked, 1);
    QCOMPARE(dialogs->lastCaption, QStringLiteral("Save Screen Image"));
    QCOMPARE(dialogs->lastFilter, QStringLiteral("Images (*.png *.xpm *.jpg)"));
    QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    QDir::setCurrent(workDir.path());
}

void TestMainWindowView::saveImageStartsInTheLastFolder()
{
    QTemporaryDir first;
    window->saveImage(first.filePath(QStringLiteral("a.png")));
    QTemporaryDir second;
    const auto dialogs = installFakeDialogs();
    dialogs->saveAnswer = second.filePath(QStringLiteral("shot"));
    window->form()->actionSave_Image->trigger();
    QCOMPARE(dialogs->lastDirectory, QDir(first.path()).absolutePath());
    // A name without an image extension is saved as PNG.
    QImage image;
    QVERIFY(image.load(dialogs->saveAnswer + QStringLiteral(".png")));
    QCOMPARE(MainWindow::lastImageLocation().absolutePath(), QDir(second.path()).absolutePath());
}

void TestMainWindowView::updateObserverRepaintsTheView()
{
    // A model change repaints the view at once, through the update observer, without waiting
    // for the event loop.
    const quint64 before = view()->getFrameCount();
    window->getPresenter().getWorkspace().notifyUpdate();
    QCOMPARE(view()->getFrameCount(), before + 1);

    // What the window system shows: opaque, so a compositing window manager lets no desktop
    // show through the black background.
    window->raise();
    QCoreApplication::processEvents();
    const QImage shown = window->screen()->grabWindow(view()->winId()).toImage();
    QCOMPARE(qAlpha(shown.pixel(pixelOf(view(), -50, -50))), 255);
}

void TestMainWindowView::manageMaterialsRecoloursTheView()
{
    const Model::Materials::Material silicon =
        Model::Materials::MaterialFactory::instance()->getMaterial(1);
    QVERIFY(createUnlitSubstrate(window));
    whenDialog<Ui::ManageMaterialsDialog>([](Ui::ManageMaterialsDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Manage Materials"));
        Ui::MaterialTableViewItem *model = dialog->model();
        QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("Si"));
        QVERIFY(model->setData(model->index(0, 2), QColor(255, 0, 0, 255)));
        QVERIFY(model->setData(model->index(0, 1), QStringLiteral("Silicon")));
        model->insertRows(model->rowCount(), 1);
        dialog->accept();
    });
    window->form()->actionManage_Materials->trigger();
    const Model::Materials::MaterialFactory::Ptr catalogue =
        Model::Materials::MaterialFactory::instance();
    QCOMPARE(catalogue->getMaterial(1).getName(), QStringLiteral("Silicon"));
    QCOMPARE(catalogue->getMaterial(1).getColor()[0], 1.0f);
    QCOMPARE(catalogue->getMaterial(17).getName(), QStringLiteral("New Material"));
    // The view shows the new colour at once.
    QCOMPARE(view()->renderImage().pixel(pixelOf(view(), 50, 50)), qRgb(255, 0, 0));
    catalogue->setMaterial(silicon);
}

void TestMainWindowView::manageMaterialsRejectedChangesNothing()
{
    const Model::Materials::MaterialFactory::Ptr catalogue =
        Model::Materials::MaterialFactory::instance();
    const QList<Model::Materials::Material> before = catalogue->getMaterials();
    whenDialog<Ui::ManageMaterialsDialog>([](Ui::ManageMaterialsDialog *dialog) {
        Ui::MaterialTableViewItem *model = dialog->model();
        model->setData(model->index(0, 1), QStringLiteral("Changed"));
        model->insertRows(0, 2);
        dialog->reject();
    });
    window->form()->actionManage_Materials->trigger();
    QCOMPARE(catalogue->getMaterials(), before);
}

void TestMainWindowView::manageCompatibleMaterialsWritesTheCatalogue()
{
    const Model::Process::ProcessFactory::Ptr processes =
        Model::Process::ProcessFactory::instance();
    const Model::Process::Process cvd = processes->getProcess(3);
    QCOMPARE(cvd.getName(), QStringLiteral("CVD"));
    whenDialog<Ui::EditCompatibleMaterialsDialog>([](Ui::EditCompatibleMaterialsDialog *dialog) {
        Ui::EditCompatibleMaterialsDialogForm *ui = dialog->form();
        ui->cbxProcess->setCurrentIndex(ui->cbxProcess->findData(3u));
        // Add "Au (bulk)" (id 9) to the CVD materials.
        for (int row = 0; row < ui->listAvailableMaterials->count(); ++row) {
            if (ui->listAvailableMaterials->item(row)->data(Qt::UserRole).toUInt() == 9u)
                ui->listAvailableMaterials->item(row)->setSelected(true);
        }
        ui->btnInsert->click();
        dialog->accept();
    });
    window->form()->actionManage_Compatible_Materials->trigger();
    QCOMPARE(processes->getProcess(3).getCompatibleMaterials(), (QList<quint32>{3, 16, 9}));
    // Written to processes.xml: a fresh read gives the same list.
    QFile file(QDir::home().filePath(QStringLiteral("Celvane/processes.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("3;16;9"));
    processes->setProcess(cvd);
    processes->saveProcesses();
}

void TestMainWindowView::screenshotOfTheMainWindow()
{
    QVERIFY(createDefaultSubstrate(window));
    window->form()->actionGrid->setChecked(true);
    view()->setRotation(-60, 0, -35);
    // Centre the block.
    const QVector3D centre = view()->getCamera().modelView().map(QVector3D(50, 50, 15));
    view()->setPan(-int(centre.x()), -int(centre.y()));
    view()->setZoom(0.45f);
    // The block fills the middle of the view.
    const QRgb middle = view()->renderImage().pixel(view()->width() / 2, view()->height() / 2);
    QVERIFY(middle != qRgb(0, 0, 0));
    QCOMPARE(qGreen(middle), qRed(middle));
    // The screenshot, as the window system shows the window, for people to look at.
    window->raise();
    QCoreApplication::processEvents();
    view()->updateGL();
    QScreen *screen = window->screen();
    QVERIFY(screen);
    const QPixmap shot = screen->grabWindow(window->winId());
    QVERIFY(!shot.isNull());
    const QString path = artefactPath(QStringLiteral("mainwindow-substrate.png"));
    QVERIFY(shot.save(path));
    qInfo() << "Screenshot written to" << path;
}

CELVANE_GUI_TEST_MAIN(TestMainWindowView)
#include "tst_mainwindowview.moc"
