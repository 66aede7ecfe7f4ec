#include "Model/Materials/materialfactory.h"
#include "Model/Process/processfactory.h"
#include "UI/Operations/anisotropicdepositiondialog.h"
#include "UI/Operations/dopingoptionsdialog.h"
#include "UI/Operations/electrodepositiondialog.h"
#include "UI/Operations/ionimplantationoptionsdialog.h"
#include "UI/Operations/simpleoxidationoptionsdialog.h"
#include "guitestutil.h"
#include "testmain.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>

using namespace Ui::Operations;

namespace {

QDoubleSpinBox *spin(QWidget *dialog, const char *name)
{
    QDoubleSpinBox *box = dialog->findChild<QDoubleSpinBox *>(QLatin1String(name));
    if (!box)
        qFatal("no spin box %s", name);
    return box;
}

QRadioButton *radio(QWidget *dialog, const char *name)
{
    QRadioButton *button = dialog->findChild<QRadioButton *>(QLatin1String(name));
    if (!button)
        qFatal("no radio button %s", name);
    return button;
}

} // namespace

class TestFilmProcessDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void oxidationFields_data();
    void oxidationFields();
    void oxidationRadiosEnableTheirBoxes();
    void doping();
    void implantation();
    void anisotropicFields();
    void anisotropicSides_data();
    void anisotropicSides();
    void electroplating();
    void okAcceptsCancelRejects();
};

void TestFilmProcessDialogs::initTestCase()
{
    Model::Materials::MaterialFactory::instance()->loadDefaultMaterials();
    Model::Process::ProcessFactory::instance()->loadDefaultProcesses();
}

void TestFilmProcessDialogs::oxidationFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("box");
    QTest::addColumn<double>("step");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("thickness") << "sbxOxideThickness"
                               << "0..100000: 10 microns" << 1.0 << true;
    QTest::newRow("time") << "sbxOxidationTime"
                          << "0..1000: 2 hours" << 1.0 << false;
    QTest::newRow("temperature") << "sbxOxidationTemperature"
                                 << "0..2000: 1273 K" << 1.0 << false;
    QTest::newRow("pressure") << "sbxOxidationPressure"
                              << "0..1: 1 atm" << 0.1 << false;
    QTest::newRow("conversion") << "sbxMicronConversion"
                                << "0.01..1000000000: 100" << 1.0 << true;
}

void TestFilmProcessDialogs::oxidationFields()
{
    QFETCH(QString, name);
    QFETCH(QString, box);
    QFETCH(double, step);
    QFETCH(bool, enabled);
    SimpleOxidationOptionsDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Si Oxidation Options"));
    QCOMPARE(describe(spin(&dialog, qPrintable(name))), box);
    QCOMPARE(spin(&dialog, qPrintable(name))->singleStep(), step);
    QCOMPARE(spin(&dialog, qPrintable(name))->isEnabled(), enabled);
}

void TestFilmProcessDialogs::oxidationRadiosEnableTheirBoxes()
{
    SimpleOxidationOptionsDialog dialog;
    QRadioButton *time = radio(&dialog, "radOxidationTime");
    QRadioButton *thickness = radio(&dialog, "radOxideThickness");
    QVERIFY(thickness->isChecked());
    QVERIFY(!time->isChecked());
    QVERIFY(!dialog.isTimeGiven());
    QDoubleSpinBox *conversion = spin(&dialog, "sbxMicronConversion");

    time->click();
    QVERIFY(dialog.isTimeGiven());
    QVERIFY(!thickness->isChecked());
    for (const char *name : {"sbxOxidationTime", "sbxOxidationTemperature", "sbxOxidationPressure"})
        QVERIFY2(spin(&dialog, name)->isEnabled(), name);
    QVERIFY(!spin(&dialog, "sbxOxideThickness")->isEnabled());
    QVERIFY(conversion->isEnabled());

    thickness->click();
    QVERIFY(!dialog.isTimeGiven());
    for (const char *name : {"sbxOxidationTime", "sbxOxidationTemperature", "sbxOxidationPressure"})
        QVERIFY2(!spin(&dialog, name)->isEnabled(), name);
    QVERIFY(spin(&dialog, "sbxOxideThickness")->isEnabled());
}

void TestFilmProcessDialogs::doping()
{
    DopingOptionsDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Doping Options"));
    QComboBox *combo = dialog.findChild<QComboBox *>("cbxDopedMaterial");
    // "Simple Doping": Si, N-doped, P-doped, Poly-Si, with their ids and 100 x 100 swatches.
    QCOMPARE(itemTexts(combo),
             (QStringList{"Si", "N-doped Si (100)", "P-doped Si (100)", "Poly-Si"}));
    QCOMPARE(combo->itemData(2).toUInt(), 15u);
    QCOMPARE(combo->itemIcon(0).availableSizes().value(0), QSize(100, 100));
    QDoubleSpinBox *depth = spin(&dialog, "dblDopingDepth");
    QCOMPARE(describe(depth), QStringLiteral("0..1000000000: 10 units"));
    QCOMPARE(depth->decimals(), 4);
    depth->setValue(2.12345);
    QCOMPARE(dialog.getDepth(), 2.1235); // what the four decimals show
}

void TestFilmProcessDialogs::implantation()
{
    // The list follows the process "Ion Implantation", edited here to tell it from "Simple
    // Doping".
    Model::Process::ProcessFactory::instance()->setProcess(
        Model::Process::Process(QStringLiteral("Ion Implantation"), 14, {15, 1}));
    IonImplantationOptionsDialog dialog;
    Model::Process::ProcessFactory::instance()->loadDefaultProcesses();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Ion Implantation Options"));
    QComboBox *combo = dialog.findChild<QComboBox *>("cbxDopedMaterial");
    QCOMPARE(itemTexts(combo), (QStringList{"P-doped Si (100)", "Si"}));
    for (const char *name : {"dblImplantationDepth", "dblAnnealingDistance"}) {
        QCOMPARE(describe(spin(&dialog, name)), QStringLiteral("0..1000000000: 10 units"));
        QCOMPARE(spin(&dialog, name)->decimals(), 2);
    }
}

void TestFilmProcessDialogs::anisotropicFields()
{
    AnisotropicDepositionDialog dialog;
    dialog.setProcess(Model::Process::ProcessFactory::instance()->getProcess("PVD"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("PVD Options"));
    QComboBox *combo = dialog.findChild<QComboBox *>("cbxMaterials");
    QCOMPARE(combo->count(), 7); // the bulk metals, ids 4 to 10
    QCOMPARE(combo->itemData(0).toUInt(), 4u);
    QCOMPARE(combo->itemData(6).toUInt(), 10u);
    QDoubleSpinBox *thickness = spin(&dialog, "dbxFilmThickness");
    QCOMPARE(describe(thickness), QStringLiteral("0..1000000000: 10 units"));
    QDoubleSpinBox *ratio = spin(&dialog, "dbxHVRatio");
    QCOMPARE(describe(ratio), QStringLiteral("0.01..1000000000: 0.5"));
    QCOMPARE(ratio->singleStep(), 0.0);
    ratio->setValue(0.25);
    QCOMPARE(dialog.getRatio(), 0.25);
}

void TestFilmProcessDialogs::anisotropicSides_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<quint32>("side");
    QTest::newRow("initially on top") << QString() << 1u;
    QTest::newRow("top") << "radDepositOnTop" << 1u;
    QTest::newRow("bottom") << "radDepositOnBottom" << 2u;
    QTest::newRow("both") << "radDepositOnTopAndBottom" << 3u;
}

void TestFilmProcessDialogs::anisotropicSides()
{
    QFETCH(QString, button);
    QFETCH(quint32, side);
    AnisotropicDepositionDialog dialog;
    if (!button.isEmpty()) {
        radio(&dialog, "radDepositOnBottom")->click(); // start from another choice
        radio(&dialog, qPrintable(button))->click();
    }
    QCOMPARE(dialog.getDepositOn(), side);
    int checked = 0;
    for (const char *name : {"radDepositOnTop", "radDepositOnBottom", "radDepositOnTopAndBottom"})
        checked += radio(&dialog, name)->isChecked();
    QCOMPARE(checked, 1);
}

void TestFilmProcessDialogs::electroplating()
{
    ElectrodepositionDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Electroplating Options"));
    QDoubleSpinBox *thickness = spin(&dialog, "dblFilmThickness");
    QVERIFY2(describe(thickness).endsWith("..1000000000: 10 units"),
             qPrintable(describe(thickness)));
    QCOMPARE(thickness->decimals(), 2);
    // Both lists hold the whole catalogue in ascending id order.
    const QList<Model::Materials::Material> all =
        Model::Materials::MaterialFactory::instance()->getMaterials();
    QComboBox *plated = dialog.findChild<QComboBox *>("cbxMaterial");
    QComboBox *conductor = dialog.findChild<QComboBox *>("cbxConductingMaterial");
    for (QComboBox *combo : {plated, conductor}) {
        QCOMPARE(combo->count(), all.size());
        for (int i = 0; i < all.size(); ++i) {
            QCOMPARE(combo->itemData(i).toUInt(), all[i].getId());
            if (i > 0)
                QVERIFY(combo->itemData(i).toUInt() > combo->itemData(i - 1).toUInt());
        }
    }
}

void TestFilmProcessDialogs::okAcceptsCancelRejects()
{
    SimpleOxidationOptionsDialog oxidation;
    DopingOptionsDialog doping;
    IonImplantationOptionsDialog implantation;
    AnisotropicDepositionDialog anisotropic;
    ElectrodepositionDialog plating;
    for (QDialog *dialog : std::initializer_list<QDialog *>{&oxidation, &doping, &implantation,
                                                            &anisotropic, &plating}) {
        QDialogButtonBox *box = dialog->findChild<QDialogButtonBox *>("buttonBox");
        QVERIFY(box);
        box->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        box->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }
}

CELVANE_GUI_TEST_MAIN(TestFilmProcessDialogs)
#include "tst_filmprocessdialogs.moc"
