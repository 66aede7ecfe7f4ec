#include "Model/Materials/materialfactory.h"
#include "UI/Operations/cutcellvolumedialog.h"
#include "UI/Operations/extractfilmdialog.h"
#include "UI/Operations/gluesubstratedialog.h"
#include "testmain.h"
#include "ui_cutcellvolumedialog.h"
#include "ui_extractfilmdialog.h"
#include "ui_gluesubstratedialog.h"

#include <QSignalSpy>

using namespace Ui::Operations;

namespace {
const quint32 counts[3] = {10, 20, 50};
const quint32 whole[3] = {0, 0, 0};
} // namespace

/// The cut, glue and film dialogs: ranges from the volumes, limits that cannot cross, and
/// previews gathered into one per burst of changes.
class TestGlueCutDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cutRangesFollowTheCounts();
    void cutLimitsCannotCross();
    void cutPreviewsTheLatestValuesOnce();
    void glueLimits();
    void extractFilmChoices();
};

void TestGlueCutDialogs::initTestCase()
{
    Model::Materials::MaterialFactory::instance()->loadDefaultMaterials();
}

void TestGlueCutDialogs::cutRangesFollowTheCounts()
{
    const quint32 lower[3] = {2, 0, 40};
    CutCellVolumeDialog dialog(counts, lower, counts);
    Ui::CutCellVolumeBaseDialog *ui = dialog.form();
    QCOMPARE(dialog.objectName(), QStringLiteral("CutCellVolumeBaseDialog"));
    const QList<QSpinBox *> lowers{ui->sbxLowerX, ui->sbxLowerY, ui->sbxLowerZ};
    const QList<QSpinBox *> uppers{ui->sbxUpperX, ui->sbxUpperY, ui->sbxUpperZ};
    const QList<QSlider *> lowerSliders{ui->sldLowerX, ui->sldLowerY, ui->sldLowerZ};
    const QList<QSlider *> upperSliders{ui->sldUpperX, ui->sldUpperY, ui->sldUpperZ};
    for (int axis = 0; axis < 3; ++axis) {
        const int count = int(counts[axis]);
        QCOMPARE(lowers[axis]->minimum(), 0);
        QCOMPARE(lowers[axis]->maximum(), count - 1);
        QCOMPARE(uppers[axis]->minimum(), 1);
        QCOMPARE(uppers[axis]->maximum(), count);
        QCOMPARE(lowerSliders[axis]->maximum(), count - 1);
        QCOMPARE(upperSliders[axis]->minimum(), 1);
        QCOMPARE(lowers[axis]->value(), int(lower[axis]));
        QCOMPARE(lowerSliders[axis]->value(), int(lower[axis]));
        QCOMPARE(uppers[axis]->value(), count);
    }
    QVERIFY(!dialog.isPreviewOn());

    // Each half of a pair follows the other.
    ui->sldLowerY->setValue(7);
    QCOMPARE(ui->sbxLowerY->value(), 7);
    ui->sbxUpperX->setValue(4);
    QCOMPARE(ui->sldUpperX->value(), 4);
    quint32 gotLower[3], gotUpper[3];
    dialog.getLimits(gotLower, gotUpper);
    QCOMPARE(QList<quint32>(
                 {gotLower[0], gotLower[1], gotLower[2], gotUpper[0], gotUpper[1], gotUpper[2]}),
             QList<quint32>({2, 7, 40, 4, 20, 50}));
}

void TestGlueCutDialogs::cutLimitsCannotCross()
{
    const quint32 lower[3] = {3, 0, 0}, upper[3] = {6, 20, 50};
    CutCellVolumeDialog dialog(counts, lower, upper);
    Ui::CutCellVolumeBaseDialog *ui = dialog.form();
    ui->sbxLowerX->setValue(8); // past the upper limit: the upper one moves on
    QCOMPARE(ui->sbxUpperX->value(), 9);
    ui->sldUpperX->setValue(2); // below the lower limit: the lower one moves back
    QCOMPARE(ui->sbxLowerX->value(), 1);
    QCOMPARE(ui->sldLowerX->value(), 1);
    ui->sbxLowerZ->setValue(49);
    QCOMPARE(ui->sbxUpperZ->value(), 50);
    ui->sbxUpperZ->setValue(1);
    QCOMPARE(ui->sbxLowerZ->value(), 0);

    // Limits that leave an axis empty open as a one-cell slice.
    const quint32 emptyLower[3] = {5, 0, 0}, emptyUpper[3] = {5, 20, 50};
    CutCellVolumeDialog opened(counts, emptyLower, emptyUpper);
    QCOMPARE(opened.form()->sbxLowerX->value(), 4);
    QCOMPARE(opened.form()->sbxUpperX->value(), 5);
}

void TestGlueCutDialogs::cutPreviewsTheLatestValuesOnce()
{
    CutCellVolumeDialog dialog(counts, whole, counts);
    QSignalSpy previews(&dialog, &CutCellVolumeDialog::previewRequested);
    dialog.form()->sbxLowerZ->setValue(5);
    QCoreApplication::processEvents();
    QCOMPARE(previews.count(), 0); // no preview unless asked for

    dialog.form()->chkPreview->setChecked(true);
    QList<quint32> seen;
    connect(&dialog, &CutCellVolumeDialog::previewRequested, [&]() {
        quint32 lower[3], upper[3];
        dialog.getLimits(lower, upper);
        seen.append(lower[2]);
    });
    // A burst of slider moves, as a drag delivers them while a preview is drawn.
    for (int z = 10; z <= 40; ++z)
        dialog.form()->sldLowerZ->setValue(z);
    QCOMPARE(previews.count(), 0);
    QTRY_COMPARE(previews.count(), 1);
    QTest::qWait(20);
    QCOMPARE(previews.count(), 1);
    QCOMPARE(seen, QList<quint32>{40});
}

void TestGlueCutDialogs::glueLimits()
{
    GlueSubstrateDialog dialog;
    Ui::GlueSubstrateForm *ui = dialog.form();
    QCOMPARE(dialog.objectName(), QStringLiteral("GlueSubstrateForm"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Glue Substrate"));
    for (QSpinBox *box :
         {ui->sbxSizeX, ui->sbxSizeY, ui->sbxSizeZ, ui->sbxDisplacementX, ui->sbxDisplacementY})
        QCOMPARE(box->maximum(), 999999999);
    dialog.setLimits(40, 9, 12, 2, 1);
    QCOMPARE(ui->sbxSizeX->value(), 40);
    QCOMPARE(ui->sbxSizeX->minimum(), 40);
    QVERIFY(!ui->sbxSizeX->isEnabled() && !ui->sbxSizeY->isEnabled());
    QCOMPARE(ui->sbxSizeY->value(), 9);
    QCOMPARE(ui->sbxSizeZ->minimum(), 12);
    QCOMPARE(ui->sbxSizeZ->value(), 12);
    QVERIFY(ui->sbxSizeZ->isEnabled());
    QCOMPARE(ui->sbxDisplacementX->maximum(), 2);
    QCOMPARE(ui->sbxDisplacementY->maximum(), 1);
    ui->sbxSizeZ->setValue(11);
    ui->sbxDisplacementX->setValue(5);
    ui->sbxDisplacementY->setValue(1);
    ui->chkInvertTopSubstrate->setChecked(true);
    QCOMPARE(dialog.getSizeZ(), 12u);
    QCOMPARE(dialog.getDisplacementX(), 2u);
    QCOMPARE(dialog.getDisplacementY(), 1u);
    QVERIFY(dialog.invertTop());
}

void TestGlueCutDialogs::extractFilmChoices()
{
    ExtractFilmDialog dialog;
    Ui::ExtractFilmForm *ui = dialog.form();
    QCOMPARE(dialog.objectName(), QStringLiteral("ExtractFilmForm"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Extract Film"));
    const QList<Model::Materials::Material> materials =
        Model::Materials::MaterialFactory::instance()->getMaterials();
    QCOMPARE(ui->cbxFilm->count(), materials.size());
    ui->cbxFilm->setCurrentIndex(2);
    QCOMPARE(dialog.getMaterialId(), materials[2].getId());
    QCOMPARE(ui->cbxFilm->currentText(), materials[2].getName());
    QVERIFY(!dialog.invertFilm());
}

CELVANE_GUI_TEST_MAIN(TestGlueCutDialogs)
#include "tst_gluecutdialogs.moc"
