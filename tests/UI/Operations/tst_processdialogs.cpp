#include "Model/Materials/materialfactory.h"
#include "Model/Process/processfactory.h"
#include "UI/Operations/bcaetchingdialog.h"
#include "UI/Operations/isotropicdepositiondialog.h"
#include "UI/Operations/isotropicetchingdialog.h"
#include "UI/Operations/materialcombo.h"
#include "UI/Operations/mooreoptionsdialog.h"
#include "UI/Operations/photolithographydialog.h"
#include "UI/Operations/planarizationoptionsdialog.h"
#include "UI/Operations/simpleriedialog.h"
#include "UI/Operations/spincoatingoptionsdialog.h"
#include "gdstestutil.h"
#include "guitestutil.h"
#include "testmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Ui::Operations;

class TestProcessDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void isotropicDeposition();
    void isotropicEtchingTakesTheProcess();
    void moore();
    void planarizationLimits();
    void spinCoating();
    void rie();
    void wetEtching();
    void imageToMask_data();
    void imageToMask();
    void maskApplyAndRemove();
    void missingMaskFileWarns();
    void swatchesAreShared();
    void okAppliesAChosenMask();
    void okWithoutMaskAsksOnce_data();
    void okWithoutMaskAsksOnce();
    void layoutMaskFromTheChosenCellAndLayer();

private:
    QTemporaryDir dir;
};

void TestProcessDialogs::initTestCase()
{
    Model::Materials::MaterialFactory::instance()->loadDefaultMaterials();
    Model::Process::ProcessFactory::instance()->loadDefaultProcesses();
}

void TestProcessDialogs::isotropicDeposition()
{
    IsotropicDepositionDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Isotropic Film Deposition"));
    QDoubleSpinBox *thickness = dialog.findChild<QDoubleSpinBox *>("dblThickness");
    QVERIFY2(describe(thickness).endsWith("..1000000000: 10 units"),
             qPrintable(describe(thickness)));
    QCOMPARE(thickness->decimals(), 2);
    dialog.setMaterials(
        Model::Process::ProcessFactory::instance()->getProcess("CVD").resolveCompatibleMaterials());
    QComboBox *combo = dialog.findChild<QComboBox *>("cbxMaterial");
    QCOMPARE(itemTexts(combo), (QStringList{"Thermal Si02", "Poly-Si"}));
    combo->setCurrentIndex(1);
    thickness->setValue(2.5);
    QCOMPARE(dialog.getMaterialId(), 16u);
    QCOMPARE(dialog.getThickness(), 2.5);
    // Tab order: spin box, combo, buttons.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    thickness->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(combo));
}

void TestProcessDialogs::isotropicEtchingTakesTheProcess()
{
    IsotropicEtchingDialog dialog;
    dialog.setProcess(Model::Process::Process(QStringLiteral("Isotropic Etching"), 10, {4, 2, 1}));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Isotropic Etching Options"));
    QComboBox *combo = dialog.findChild<QComboBox *>("cbxMaterial");
    QCOMPARE(combo->count(), 2); // id 2 is not in the catalogue
    QCOMPARE(combo->itemData(0).toUInt(), 4u);
    QCOMPARE(combo->itemData(1).toUInt(), 1u);
}

void TestProcessDialogs::moore()
{
    MooreOptionsDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Operation Options"));
    QSpinBox *steps = dialog.findChild<QSpinBox *>("sbxValue");
    QCOMPARE(steps->minimum(), 1);
    QCOMPARE(steps->maximum(), 999999999);
    QCOMPARE(steps->suffix(), QStringLiteral(" cells"));
    dialog.setValueLabel(QStringLiteral("Etch Depth"));
    QCOMPARE(dialog.findChild<QLabel *>("lblValue")->text(), QStringLiteral("Etch Depth"));
}

void TestProcessDialogs::planarizationLimits()
{
    PlanarizationOptionsDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Planarization Options"));
    QSpinBox *minimum = dialog.findChild<QSpinBox *>("sbxMinimumHeight");
    QSpinBox *maximum = dialog.findChild<QSpinBox *>("sbxMaximumHeight");
    dialog.setHeightLimit(80);
    QCOMPARE(maximum->maximum(), 80);
    QCOMPARE(maximum->value(), 80);
    QCOMPARE(minimum->maximum(), 80);
    maximum->setValue(30);
    QCOMPARE(minimum->maximum(), 30);
    minimum->setValue(50);
    QCOMPARE(dialog.getMinimumHeight(), 30u);
}

void TestProcessDialogs::spinCoating()
{
    SpinCoatingOptionsDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Pour Material Options"));
    // Starts on the spin-coating process's first material, "Photoresist +", not on silicon.
    QCOMPARE(dialog.getMaterialId(), 11u);
    dialog.setHeightLimit(12);
    QSpinBox *height = dialog.findChild<QSpinBox *>("sbxHeight");
    QCOMPARE(height->value(), 0);
    height->setValue(40);
    QCOMPARE(dialog.getHeight(), 12u);
}

void TestProcessDialogs::rie()
{
    SimpleRIEDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Simple RIE Options"));
    QSpinBox *depth = dialog.findChild<QSpinBox *>("sbxEtchDepth");
    QCOMPARE(depth->minimum(), 1);
    QCOMPARE(depth->value(), 1);
    QVERIFY(dialog.etchFromTop());
    QVERIFY(!dialog.etchFromBelow());
}

void TestProcessDialogs::wetEtching()
{
    BCAEtchingDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Wet Etching Options"));
    QDoubleSpinBox *depth = dialog.findChild<QDoubleSpinBox *>("dblDepth");
    QVERIFY2(describe(depth) == "0..1000000000: 10 units", qPrintable(describe(depth)));
    QCOMPARE(depth->decimals(), 4);
    QCOMPARE(depth->singleStep(), 0.353552);
    depth->stepBy(1);
    QCOMPARE(dialog.getDepth(), 10.353552);
}

void TestProcessDialogs::imageToMask_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<bool>("opaque");
    QTest::newRow("black") << QColor(0, 0, 0) << true;
    QTest::newRow("red") << QColor(255, 0, 0) << true;
    QTest::newRow("almost red") << QColor(254, 0, 0) << false;
    QTest::newRow("white") << QColor(255, 255, 255) << false;
    QTest::newRow("dark grey") << QColor(1, 1, 1) << false;
    QTest::newRow("translucent black") << QColor(0, 0, 0, 10) << true;
}

void TestProcessDialogs::imageToMask()
{
    QFETCH(QColor, color);
    QFETCH(bool, opaque);
    // A 3 x 2 image, white but for pixel (2, 0): the top row of the file.
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::white);
    image.setPixelColor(2, 0, color);
    std::vector<bool> bits;
    quint32 w = 0, h = 0;
    PhotolithographyDialog::imageToMask(image, bits, w, h);
    QCOMPARE(w, 3u);
    QCOMPARE(h, 2u);
    QCOMPARE(bits.size(), size_t(6));
    // The top row of the image is the largest y: bit (2, 1) = 2 * 2 + 1.
    for (size_t i = 0; i < bits.size(); ++i)
        QCOMPARE(bool(bits[i]), i == 5 ? opaque : false);
}

void TestProcessDialogs::maskApplyAndRemove()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QString file = QDir(dir.path()).filePath(QStringLiteral("mask.png"));
    QVERIFY(image.save(file));
    PhotolithographyDialog dialog;
    std::vector<bool> received;
    quint32 rw = 9, rh = 9;
    dialog.setTopMaskSink([&](const std::vector<bool> &bits, quint32 w, quint32 h) {
        received = bits;
        rw = w;
        rh = h;
    });
    dialog.findChild<QLineEdit *>("lieTopMask")->setText(file);
    dialog.findChild<QPushButton *>("btnApplyTopMask")->click();
    QCOMPARE(rw, 4u);
    QCOMPARE(rh, 4u);
    QCOMPARE(received, std::vector<bool>(16, true));
    dialog.findChild<QPushButton *>("btnRemoveTopMask")->click();
    QVERIFY(received.empty());
    QCOMPARE(rw, 0u);
    QCOMPARE(rh, 0u);
    QCOMPARE(dialog.getTopMaskWidth(), 4u); // the stored width stays
    QCOMPARE(dialog.getTopMaskHeight(), 0u);
}

void TestProcessDialogs::missingMaskFileWarns()
{
    PhotolithographyDialog dialog;
    bool called = false;
    dialog.setBottomMaskSink([&](const std::vector<bool> &, quint32, quint32) { called = true; });
    dialog.findChild<QLineEdit *>("lieBottomMask")->setText(QStringLiteral("/no/such/mask.png"));
    QString text;
    acceptMessageBox(&text);
    dialog.findChild<QPushButton *>("btnApplyBottomMask")->click();
    QVERIFY2(text.startsWith(QLatin1String("Bottom mask not found error!")), qPrintable(text));
    QVERIFY(!called);
}

void TestProcessDialogs::swatchesAreShared()
{
    // 2000 entries of two colours make two swatches, not 2000 pixmaps.
    using Model::Materials::Material;
    QList<Material> materials;
    for (quint32 id = 1; id <= 2000; ++id) {
        const float gray = id % 2 ? 0.25f : 0.75f;
        const float color[4] = {gray, gray, gray, 1.0f};
        materials.append(Material(id, QStringLiteral("M"), 1, 1, 1, color));
    }
    QComboBox combo;
    MaterialCombo::fill(&combo, materials);
    QCOMPARE(combo.count(), 2000);
    QCOMPARE(combo.itemIcon(0).cacheKey(), combo.itemIcon(1998).cacheKey());
    QVERIFY(combo.itemIcon(0).cacheKey() != combo.itemIcon(1).cacheKey());
}

void TestProcessDialogs::okAppliesAChosenMask()
{
    QImage image(2, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    const QString file = QDir(dir.path()).filePath(QStringLiteral("chosen.png"));
    QVERIFY(image.save(file));
    PhotolithographyDialog dialog;
    std::vector<bool> received;
    dialog.setTopMaskSink(
        [&](const std::vector<bool> &bits, quint32, quint32) { received = bits; });
    dialog.findChild<QLineEdit *>("lieTopMask")->setText(file);
    dialog.accept(); // OK without Apply: no question, the chosen mask is applied
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(received, (std::vector<bool>{true, false}));
    QCOMPARE(dialog.getTopMaskWidth(), 2u);
    QCOMPARE(dialog.getTopMaskHeight(), 1u);
}

void TestProcessDialogs::okWithoutMaskAsksOnce_data()
{
    QTest::addColumn<quint32>("film");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("positive, yes") << 11u << int(QMessageBox::Yes) << 1 << true;
    QTest::newRow("positive, no") << 11u << int(QMessageBox::No) << 1 << false;
    QTest::newRow("negative resist stays whole") << 12u << int(QMessageBox::No) << 0 << true;
}

void TestProcessDialogs::okWithoutMaskAsksOnce()
{
    QFETCH(quint32, film);
    QFETCH(int, answer);
    QFETCH(int, questions);
    QFETCH(bool, accepted);
    PhotolithographyDialog dialog;
    QComboBox *combo = dialog.findChild<QComboBox *>("cbxFilm");
    combo->setCurrentIndex(combo->findData(film));
    int asked = 0;
    QString text;
    std::function<void(QWidget *)> reply = [&](QWidget *w) {
        if (QMessageBox *box = qobject_cast<QMessageBox *>(w)) {
            ++asked;
            text = box->text();
            box->button(QMessageBox::StandardButton(answer))->click();
        }
    };
    if (questions)
        whenModal(reply);
    dialog.accept(); // a second question would block here unanswered
    QCOMPARE(asked, questions);
    if (questions)
        QCOMPARE(text, QStringLiteral("No mask: the whole resist will be developed. Continue?"));
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
}

void TestProcessDialogs::layoutMaskFromTheChosenCellAndLayer()
{
    const auto dialogs = installFakeDialogs();
    dialogs->openAnswer = Gds::writeFile(dir, Gds::squareLAndRectangle());
    PhotolithographyDialog dialog;
    dialog.setVolumeGrid(8, 8);
    std::vector<bool> received;
    quint32 rw = 0, rh = 0;
    dialog.setTopMaskSink([&](const std::vector<bool> &bits, quint32 w, quint32 h) {
        received = bits;
        rw = w;
        rh = h;
    });
    dialog.findChild<QToolButton *>("tbtTopMask")->click();
    QComboBox *cells = dialog.findChild<QComboBox *>("cbxTopMaskCell");
    QComboBox *layers = dialog.findChild<QComboBox *>("cbxTopMaskLayer");
    QCOMPARE(cells->count(), 2);
    QCOMPARE(cells->currentText(), QStringLiteral("TOP")); // the top cell, though SUB comes first
    QCOMPARE(layers->count(), 2);
    layers->setCurrentIndex(layers->findText(QStringLiteral("2")));
    dialog.findChild<QDoubleSpinBox *>("dbxTopMaskOffsetY")->setValue(4.0);
    dialog.findChild<QPushButton *>("btnApplyTopMask")->click();
    // The rectangle [0,4]x[5,6] seen from y = 4: row 1, columns 0 to 3.
    std::vector<bool> expected(64);
    for (int x = 0; x < 4; ++x)
        expected[size_t(x * 8 + 1)] = true;
    QCOMPARE(rw, 8u);
    QCOMPARE(rh, 8u);
    QVERIFY(received == expected);
    QVERIFY(dialog.hasTopLayout());
    QCOMPARE(dialog.getTopLayout().layer, 2);
    QVERIFY(dialog.getTopMaskFile().isEmpty()); // not an image

    // A damaged layout: the clear message, and the mask applied before stays.
    QFile damaged(dialogs->openAnswer);
    QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write(Gds::squareLAndRectangle().left(100));
    damaged.close();
    received.clear();
    QString text;
    acceptMessageBox(&text);
    dialog.findChild<QPushButton *>("btnApplyTopMask")->click();
    QCOMPARE(text, QStringLiteral("The mask \"%1\" cannot be used: the file is not a readable "
                                  "GDSII layout.")
                       .arg(dialogs->openAnswer));
    QVERIFY(received.empty());
    QCOMPARE(dialog.getTopMask(), expected);
}

CELVANE_GUI_TEST_MAIN(TestProcessDialogs)
#include "tst_processdialogs.moc"
