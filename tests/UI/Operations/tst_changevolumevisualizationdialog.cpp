#include "Core/Operations/changetotalvolumevisualizationoptions.h"
#include "Core/Operations/workspace.h"
#include "Model/Materials/materialfactory.h"
#include "UI/Observers/changetotalvolumeviewoptionsobserver.h"
#include "UI/Operations/changevolumevisualizationdialog.h"
#include "UI/mainwindow.h"
#include "guitestutil.h"
#include "testmain.h"
#include "ui_changevolumevisualizationdialog.h"
#include "ui_mainwindow.h"

#include <QColorDialog>
#include <QPointer>
#include <QTemporaryDir>

using Core::Operations::ChangeTotalVolumeVisualizationOptions;
using Model::Automaton::TotalVolume;
using Ui::Operations::ChangeVolumeVisualizationDialog;
typedef ChangeTotalVolumeVisualizationOptions::Options Options;

/// The visualization dialog, its colour tab, and its observer between dialog, catalogue and
/// operation.
class TestChangeVolumeVisualizationDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void titleAndEntries();
    void showsThePresentOptions_data();
    void showsThePresentOptions();
    void surfaceAtomsFollowSiAtoms();
    void filmListInIdOrder();
    void previewShowsTheColour_data();
    void previewShowsTheColour();
    void changeColorEditsOnlyTheCopy();
    void cancelledChooserKeepsTheColour();
    void fromTheMenu_data();
    void fromTheMenu();

private:
    QTemporaryDir workDir;
    QList<Model::Materials::Material> savedMaterials;
};

void TestChangeVolumeVisualizationDialog::init()
{
    QDir::setCurrent(workDir.path());
    savedMaterials = Model::Materials::MaterialFactory::instance()->getMaterials();
}

void TestChangeVolumeVisualizationDialog::cleanup()
{
    for (const Model::Materials::Material &m : savedMaterials)
        Model::Materials::MaterialFactory::instance()->setMaterial(m);
}

void TestChangeVolumeVisualizationDialog::titleAndEntries()
{
    ChangeVolumeVisualizationDialog dialog{Options()};
    QCOMPARE(dialog.objectName(), QStringLiteral("ChangeVolumeVisualizationDialogForm"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Change Volume Visualization Options"));
    Ui::ChangeVolumeVisualizationDialogForm *ui = dialog.form();
    QCOMPARE(itemTexts(ui->cbxSurfaceAlgorithm),
             (QStringList{"Direct Cubic Surface Generation", "Marching Cubes",
                          "Octree Surface Generation"}));
}

void TestChangeVolumeVisualizationDialog::showsThePresentOptions_data()
{
    QTest::addColumn<int>("which");
    for (int i = 0; i < 6; ++i)
        QTest::newRow(qPrintable(QString::number(i))) << i;
}

void TestChangeVolumeVisualizationDialog::showsThePresentOptions()
{
    QFETCH(int, which);
    Options present;
    bool *flags[6] = {&present.renderSiAtoms,
                      &present.renderSurfaceAtomsOnly,
                      &present.renderSiAtomLinks,
                      &present.renderSiUnitCells,
                      &present.renderSiUnitCellOutlines,
                      &present.renderEmptyVoxelOutlines};
    *flags[which] = true;
    present.surfaceAlgorithm = quint32(which % 3);
    ChangeVolumeVisualizationDialog dialog(present);
    Ui::ChangeVolumeVisualizationDialogForm *ui = dialog.form();
    QCheckBox *boxes[6] = {ui->cbxRenderSiAtoms,           ui->cbxRenderSurfaceAtoms,
                           ui->cbxRenderSiLinks,           ui->cbxRenderSiUnitCell,
                           ui->cbxRenderSiUnitCellOutline, ui->cbxRenderEmptyVoxels};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(boxes[i]->isChecked(), i == which);
    QCOMPARE(ui->cbxSurfaceAlgorithm->currentIndex(), which % 3);
    // Unchanged, the answer is what was shown.
    const Options answer = dialog.getOptions();
    const bool back[6] = {
        answer.renderSiAtoms,     answer.renderSurfaceAtomsOnly,   answer.renderSiAtomLinks,
        answer.renderSiUnitCells, answer.renderSiUnitCellOutlines, answer.renderEmptyVoxelOutlines};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(back[i], i == which);
    QCOMPARE(answer.surfaceAlgorithm, quint32(which % 3));
}

void TestChangeVolumeVisualizationDialog::surfaceAtomsFollowSiAtoms()
{
    ChangeVolumeVisualizationDialog dialog{Options()};
    Ui::ChangeVolumeVisualizationDialogForm *ui = dialog.form();
    QVERIFY(!ui->cbxRenderSurfaceAtoms->isEnabled());
    ui->cbxRenderSiAtoms->setChecked(true);
    QVERIFY(ui->cbxRenderSurfaceAtoms->isEnabled());
    ui->cbxRenderSiAtoms->setChecked(false);
    QVERIFY(!ui->cbxRenderSurfaceAtoms->isEnabled());
    Options atoms;
    atoms.renderSiAtoms = true;
    ChangeVolumeVisualizationDialog second(atoms);
    QVERIFY(second.form()->cbxRenderSurfaceAtoms->isEnabled());
}

void TestChangeVolumeVisualizationDialog::filmListInIdOrder()
{
    ChangeVolumeVisualizationDialog dialog{Options()};
    QComboBox *films = dialog.form()->cbxFilm;
    const QList<Model::Materials::Material> materials =
        Model::Materials::MaterialFactory::instance()->getMaterials();
    QCOMPARE(films->count(), materials.size());
    for (int i = 0; i < films->count(); ++i) {
        QCOMPARE(films->itemText(i), materials[i].getName());
        QCOMPARE(films->itemData(i).toUInt(), materials[i].getId());
    }
    QCOMPARE(films->itemText(0), QStringLiteral("Si"));
    QCOMPARE(int(dialog.getColors().size()), materials.size());
}

void TestChangeVolumeVisualizationDialog::previewShowsTheColour_data()
{
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QString>("style");
    // Components times 255, truncated, two hex digits each.
    QTest::newRow("Si (0.5, 0.5, 0.5)") << 1u << "background-color : #7f7f7f";
    QTest::newRow("Cu (1, 0.8, 0.3)") << 5u << "background-color : #ffcc4c";
    QTest::newRow("Ti (0.3, 0.3, 0.3)") << 10u << "background-color : #4c4c4c";
    QTest::newRow("P-doped (0.67, 0.67, 1)") << 15u << "background-color : #aaaaff";
}

void TestChangeVolumeVisualizationDialog::previewShowsTheColour()
{
    QFETCH(quint32, id);
    QFETCH(QString, style);
    ChangeVolumeVisualizationDialog dialog{Options()};
    dialog.form()->cbxFilm->setCurrentIndex(dialog.form()->cbxFilm->findData(id));
    QCOMPARE(dialog.form()->graphicsView->styleSheet(), style);
}

void TestChangeVolumeVisualizationDialog::changeColorEditsOnlyTheCopy()
{
    ChangeVolumeVisualizationDialog dialog{Options()};
    dialog.form()->cbxFilm->setCurrentIndex(dialog.form()->cbxFilm->findData(3u));
    QString title;
    bool alphaOffered = false;
    QRgb opensOn = 0;
    whenDialog<QColorDialog>([&title, &alphaOffered, &opensOn](QColorDialog *chooser) {
        title = chooser->windowTitle();
        alphaOffered = chooser->testOption(QColorDialog::ShowAlphaChannel);
        opensOn = chooser->currentColor().rgba();
        chooser->setCurrentColor(QColor(255, 0, 0, 128));
        chooser->accept();
    });
    dialog.form()->btnChangeColor->click();
    QCOMPARE(title, QStringLiteral("Select new film color"));
    QVERIFY(alphaOffered);
    // It opened on the present colour of "Thermal Si02", (0.5, 0.5, 1, 1).
    QCOMPARE(opensOn, QColor::fromRgbF(0.5, 0.5, 1.0, 1.0).rgba());
    const ChangeVolumeVisualizationDialog::Color c = dialog.getColors().at(3);
    QCOMPARE(c[0], 1.0f);
    QCOMPARE(c[1], 0.0f);
    QVERIFY(qAbs(c[3] - 128.0f / 255.0f) < 1e-6f);
    QCOMPARE(dialog.form()->graphicsView->styleSheet(),
             QStringLiteral("background-color : #ff0000"));
    // The catalogue is untouched until the observer takes the answer.
    QCOMPARE(Model::Materials::MaterialFactory::instance()->getMaterial(3).getColor()[0], 0.5f);
}

void TestChangeVolumeVisualizationDialog::cancelledChooserKeepsTheColour()
{
    ChangeVolumeVisualizationDialog dialog{Options()};
    whenModal([](QWidget *w) {
        QColorDialog *chooser = qobject_cast<QColorDialog *>(w);
        chooser->setCurrentColor(Qt::red);
        chooser->reject();
    });
    dialog.form()->btnChangeColor->click();
    QCOMPARE(dialog.getColors().at(1)[0], 0.5f);
}

void TestChangeVolumeVisualizationDialog::fromTheMenu_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("accepted: options and colours applied") << true;
    QTest::newRow("rejected: nothing changes") << false;
}

void TestChangeVolumeVisualizationDialog::fromTheMenu()
{
    QFETCH(bool, accept);
    QPointer<Ui::MainWindow> window = showMainWindow();
    QVERIFY(window);
    Core::Operations::Workspace &workspace = window->getPresenter().getWorkspace();
    const TotalVolume::Ptr volume =
        TotalVolume::createFilled(4, 4, 4, 1, 1, 1, Util::Vector3D(), 1);
    workspace.getDocument().addObject(volume);
    volume->getPainter().refresh();
    workspace.getSelection().setSelectionMode(true);
    workspace.getSelection().togglePicked(QList<quint32>{volume->getId()});
    bool namesFit = false;
    whenModal([accept, &namesFit](QWidget *w) {
        ChangeVolumeVisualizationDialog *dialog =
            qobject_cast<ChangeVolumeVisualizationDialog *>(w);
        QVERIFY(dialog);
        QVERIFY(dialog->parentWidget());
        QComboBox *algorithms = dialog->form()->cbxSurfaceAlgorithm;
        namesFit = algorithms->width() >
                   algorithms->fontMetrics().horizontalAdvance("Direct Cubic Surface Generation");
        dialog->form()->cbxRenderEmptyVoxels->setChecked(true);
        dialog->form()->cbxFilm->setCurrentIndex(0); // Si
        dialog->setCurrentColor(QColor(0, 255, 0));
        accept ? dialog->accept() : dialog->reject();
    });
    window->form()->actionChange_Viewing_Options->trigger();
    QVERIFY2(namesFit, "the algorithm names are cut off");
    QCOMPARE(volume->getPainter().getShowEmptyVoxelOutlines(), accept);
    const float *si = Model::Materials::MaterialFactory::instance()->getMaterial(1).getColor();
    QCOMPARE(si[0], accept ? 0.0f : 0.5f);
    QCOMPARE(si[1], accept ? 1.0f : 0.5f);
    // The faces follow the new colour (the volume is no longer selected).
    QCOMPARE(volume->getPainter().getOpaqueFaces()[0].color[0], accept ? 0.0f : 0.5f);
    // Cancelled, it stays current until something else starts.
    QCOMPARE(bool(boost::dynamic_pointer_cast<ChangeTotalVolumeVisualizationOptions>(
                 workspace.getCurrentOperation())),
             !accept);
    closeWindow(window);
    // The class-wide observer outlives the window without harm.
    QVERIFY(ChangeTotalVolumeVisualizationOptions::getObserver());
    ChangeTotalVolumeVisualizationOptions::getObserver()->update();
}

CELVANE_GUI_TEST_MAIN(TestChangeVolumeVisualizationDialog)
#include "tst_changevolumevisualizationdialog.moc"
