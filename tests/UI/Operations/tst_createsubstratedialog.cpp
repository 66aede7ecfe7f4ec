#include "Model/Materials/materialfactory.h"
#include "UI/Operations/createsubstratedialog.h"
#include "testmain.h"
#include "ui_createsubstratedialog.h"

#include <QApplication>

using Ui::Operations::CreateSubstrateDialog;

class TestCreateSubstrateDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultsAndRanges_data();
    void defaultsAndRanges();
    void totalWidthThenBoxWidth();
    void heightLimits();
    void typedHeightKeepsSubstrateHeight();
    void sphereTogglesWidgets();
    void materialList();
    void valuesReachTheGetters();
};

void TestCreateSubstrateDialog::defaultsAndRanges_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::newRow("total width") << "sbxTotalWidth" << 1 << 10000 << 100;
    QTest::newRow("total length") << "sbxTotalLength" << 1 << 10000 << 100;
    QTest::newRow("total height") << "sbxTotalHeight" << 1 << 10000 << 80;
    QTest::newRow("box width") << "sbxSubsWidth" << 1 << 100 << 100;
    QTest::newRow("box length") << "sbxSubsLength" << 1 << 100 << 100;
    QTest::newRow("box height") << "sbxSubsHeight" << 1 << 80 << 30;
    QTest::newRow("offset x") << "sbxSubsX" << 0 << 0 << 0;
    QTest::newRow("offset y") << "sbxSubsY" << 0 << 0 << 0;
    QTest::newRow("offset z") << "sbxSubsZ" << 0 << 50 << 0;
    QTest::newRow("centre x") << "sbxSubsCenterX" << 0 << 99 << 0;
    QTest::newRow("centre z") << "sbxSubsCenterZ" << 0 << 79 << 0;
    QTest::newRow("radius") << "sbxSubsRadius" << 1 << 999999999 << 50;
}

void TestCreateSubstrateDialog::defaultsAndRanges()
{
    QFETCH(QString, name);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    CreateSubstrateDialog dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("CreateSubstrateDialogForm"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Create Substrate"));
    QSpinBox *box = dialog.findChild<QSpinBox *>(name);
    QVERIFY(box);
    QCOMPARE(box->minimum(), minimum);
    QCOMPARE(box->maximum(), maximum);
    QCOMPARE(box->value(), value);
}

void TestCreateSubstrateDialog::totalWidthThenBoxWidth()
{
    CreateSubstrateDialog dialog;
    Ui::CreateSubstrateDialogForm *ui = dialog.form();
    ui->sbxTotalWidth->setValue(40);
    QCOMPARE(ui->sbxSubsWidth->value(), 40);
    QCOMPARE(ui->sbxSubsWidth->maximum(), 40);
    QCOMPARE(ui->sbxSubsX->maximum(), 0);
    QCOMPARE(ui->sbxSubsCenterX->maximum(), 39);
    ui->sbxSubsWidth->setValue(30);
    QCOMPARE(ui->sbxSubsX->maximum(), 10);
    ui->sbxSubsX->setValue(25);
    QCOMPARE(ui->sbxSubsX->value(), 10);
    // The same rules along y, typed by the user.
    ui->sbxTotalLength->selectAll();
    QTest::keyClicks(ui->sbxTotalLength, QStringLiteral("60"));
    QTest::keyClick(ui->sbxTotalLength, Qt::Key_Return); // the number is complete
    QCOMPARE(ui->sbxSubsLength->value(), 60);
    ui->sbxSubsLength->setValue(45);
    QCOMPARE(ui->sbxSubsY->maximum(), 15);
}

void TestCreateSubstrateDialog::heightLimits()
{
    CreateSubstrateDialog dialog;
    Ui::CreateSubstrateDialogForm *ui = dialog.form();
    ui->sbxTotalHeight->setValue(100);
    QCOMPARE(ui->sbxSubsHeight->value(), 30); // kept
    QCOMPARE(ui->sbxSubsZ->maximum(), 70);
    QCOMPARE(ui->sbxSubsCenterZ->maximum(), 99);
    ui->sbxTotalHeight->setValue(20);
    QCOMPARE(ui->sbxSubsHeight->value(), 20); // clipped to the new total
    QCOMPARE(ui->sbxSubsZ->maximum(), 0);
    ui->sbxSubsHeight->setValue(5);
    QCOMPARE(ui->sbxSubsZ->maximum(), 15);
}

void TestCreateSubstrateDialog::typedHeightKeepsSubstrateHeight()
{
    CreateSubstrateDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    Ui::CreateSubstrateDialogForm *ui = dialog.form();
    ui->sbxTotalHeight->setFocus();
    ui->sbxTotalHeight->selectAll();
    QTest::keyClicks(ui->sbxTotalHeight, QStringLiteral("60"));
    QTest::keyClick(ui->sbxTotalHeight, Qt::Key_Tab);
    QCOMPARE(ui->sbxTotalHeight->value(), 60);
    QCOMPARE(ui->sbxSubsHeight->value(), 30);
    QCOMPARE(ui->sbxSubsZ->maximum(), 30);
}

void TestCreateSubstrateDialog::sphereTogglesWidgets()
{
    CreateSubstrateDialog dialog;
    Ui::CreateSubstrateDialogForm *ui = dialog.form();
    QVERIFY(ui->sbxSubsWidth->isEnabled());
    QVERIFY(!ui->sbxSubsRadius->isEnabled());
    QVERIFY(!ui->sbxSubsCenterX->isEnabled());
    QVERIFY(!ui->lblSubsRadius->isEnabled());
    dialog.show();
    ui->cbxSubsSphere->setChecked(true);
    QVERIFY(dialog.isSpherical());
    QVERIFY(!ui->sbxSubsWidth->isEnabled());
    QVERIFY(!ui->sbxSubsZ->isEnabled());
    QVERIFY(ui->sbxSubsRadius->isEnabled());
    QVERIFY(ui->sbxSubsCenterZ->isEnabled());
    ui->cbxSubsSphere->setChecked(false);
    QVERIFY(ui->sbxSubsHeight->isEnabled());
    QVERIFY(!ui->sbxSubsCenterY->isEnabled());
}

void TestCreateSubstrateDialog::materialList()
{
    Model::Materials::MaterialFactory::instance()->loadDefaultMaterials();
    CreateSubstrateDialog dialog;
    QComboBox *film = dialog.form()->cbxFilm;
    QCOMPARE(film->count(), 15);
    QCOMPARE(film->currentIndex(), 0);
    QCOMPARE(film->itemText(0), QStringLiteral("Si"));
    QCOMPARE(film->itemData(1).toUInt(), 3u);
    QCOMPARE(film->itemText(14), QStringLiteral("Poly-Si"));
    const QPixmap swatch = film->itemIcon(3).pixmap(100, 100);
    QCOMPARE(swatch.size(), QSize(100, 100));
    // Cu (bulk): (1, 0.8, 0.3) truncated to 8 bits.
    QCOMPARE(swatch.toImage().pixelColor(50, 50), QColor(255, 204, 76, 255));
    film->setCurrentIndex(3);
    QCOMPARE(dialog.getMaterialId(), 5u);
}

void TestCreateSubstrateDialog::valuesReachTheGetters()
{
    CreateSubstrateDialog dialog;
    Ui::CreateSubstrateDialogForm *ui = dialog.form();
    ui->sbxTotalWidth->setValue(12);
    ui->sbxTotalLength->setValue(13);
    ui->sbxTotalHeight->setValue(14);
    ui->sbxSubsWidth->setValue(5);
    ui->sbxSubsX->setValue(7);
    QCOMPARE(ui->dblVolumeX->minimum(), -1e9);
    QCOMPARE(ui->dblVolumeZ->maximum(), 1e9);
    ui->dblVolumeX->setValue(-2.5);
    ui->dblVolumeZ->setValue(100);
    QCOMPARE(dialog.getCellsX(), 12u);
    QCOMPARE(dialog.getCellsY(), 13u);
    QCOMPARE(dialog.getCellsZ(), 14u);
    QCOMPARE(dialog.getWidth(), 5u);
    QCOMPARE(dialog.getOffsetX(), 7u);
    QCOMPARE(dialog.getLength(), 13u);
    QCOMPARE(dialog.getPosition(), Util::Vector4D(-2.5, 0, 100, 0));
}

CELVANE_GUI_TEST_MAIN(TestCreateSubstrateDialog)
#include "tst_createsubstratedialog.moc"
