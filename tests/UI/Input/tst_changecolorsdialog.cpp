#include "Model/palette.h"
#include "UI/Input/changecolorsdialog.h"
#include "guitestutil.h"
#include "testmain.h"
#include "ui_changecolorsdialog.h"

#include <QColorDialog>

using Ui::Input::ChangeColorsDialog;

/// "Change Default Colors": which colours it shows, and which scheme accepting makes current.
class TestChangeColorsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void buttonStyle_data();
    void buttonStyle();
    void startsFromTheCurrentScheme();
    void loadButtons();
    void pickedColourMakesTheSchemeCustom();
    void loadOnlyKeepsThatScheme();
    void cancelledChooserChangesNothing();
    void customSchemeStaysCustom();

private:
    Util::Vector4D saved[Model::PaletteColorCount];
};

void TestChangeColorsDialog::init()
{
    for (int i = 0; i < Model::PaletteColorCount; ++i)
        saved[i] = Model::getColor(i, Model::CustomScheme);
    Model::setColorScheme(Model::DefaultScheme);
}

void TestChangeColorsDialog::cleanup()
{
    for (int i = 0; i < Model::PaletteColorCount; ++i)
        Model::setCustomColor(i, saved[i]);
    Model::setColorScheme(Model::DefaultScheme);
}

void TestChangeColorsDialog::buttonStyle_data()
{
    QTest::addColumn<Util::Vector4D>("color");
    QTest::addColumn<QString>("style");
    QTest::newRow("black") << Util::Vector4D(0, 0, 0, 0)
                           << "background-color : #000000;\nborder: none;";
    QTest::newRow("grid grey") << Util::Vector4D(0.4, 0.4, 0.4, 1)
                               << "background-color : #666666;\nborder: none;";
    // 0.5 * 255 = 127.5 is truncated; 0.3 * 255 = 76.5 too.
    QTest::newRow("mixed") << Util::Vector4D(1, 0.5, 0.3, 1)
                           << "background-color : #ff7f4c;\nborder: none;";
}

void TestChangeColorsDialog::buttonStyle()
{
    QFETCH(Util::Vector4D, color);
    QFETCH(QString, style);
    QCOMPARE(ChangeColorsDialog::buttonStyle(color), style);
}

void TestChangeColorsDialog::startsFromTheCurrentScheme()
{
    Model::setColorScheme(Model::LowScheme);
    ChangeColorsDialog dialog;
    QCOMPARE(dialog.getScheme(), int(Model::LowScheme));
    QCOMPARE(dialog.getColor(ChangeColorsDialog::Background), Util::Vector4D(1, 1, 1, 0));
    QCOMPARE(dialog.getColor(ChangeColorsDialog::Object), Util::Vector4D(1, 1, 1, 1));
    QCOMPARE(dialog.form()->btnBackgroundColor->styleSheet(),
             QStringLiteral("background-color : #ffffff;\nborder: none;"));
    QCOMPARE(dialog.form()->btnOutlineColor->styleSheet(),
             QStringLiteral("background-color : #000000;\nborder: none;"));
}

void TestChangeColorsDialog::loadButtons()
{
    ChangeColorsDialog dialog;
    dialog.setColor(ChangeColorsDialog::Background, QColor(255, 0, 0));
    QVERIFY(dialog.isCustomized());
    // Loading a scheme discards what was picked.
    dialog.form()->btnLoadLowColorScheme->click();
    QVERIFY(!dialog.isCustomized());
    QCOMPARE(dialog.resultScheme(), int(Model::LowScheme));
    QCOMPARE(dialog.getScheme(), 1);
    QCOMPARE(dialog.getColor(ChangeColorsDialog::Background), Util::Vector4D(1, 1, 1, 0));
    QCOMPARE(dialog.getColor(ChangeColorsDialog::Grid), Util::Vector4D(0.4, 0.4, 0.4, 1));
    dialog.form()->btnLoadDefaultColors->click();
    QCOMPARE(dialog.getScheme(), 0);
    QCOMPARE(dialog.getColor(ChangeColorsDialog::Background), Util::Vector4D(0, 0, 0, 0));
    QCOMPARE(dialog.getColor(ChangeColorsDialog::Object), Util::Vector4D(0, 0, 0, 1));
}

void TestChangeColorsDialog::pickedColourMakesTheSchemeCustom()
{
    ChangeColorsDialog dialog;
    QString title;
    whenDialog<QColorDialog>([&title](QColorDialog *chooser) {
        title = chooser->windowTitle();
        chooser->setCurrentColor(QColor(51, 102, 153));
        chooser->accept();
    });
    dialog.form()->btnGridColor->click();
    QCOMPARE(title, QStringLiteral("Select new color"));
    QVERIFY(dialog.isCustomized());
    QCOMPARE(dialog.form()->btnGridColor->styleSheet(),
             QStringLiteral("background-color : #336699;\nborder: none;"));
    QCOMPARE(dialog.resultScheme(), int(Model::CustomScheme));
    dialog.applyToPalette();
    QCOMPARE(Model::getColorScheme(), int(Model::CustomScheme));
    QCOMPARE(Model::getColor(Model::GridColor, Model::CustomScheme),
             Util::Vector4D(0.2, 0.4, 0.6, 1));
    // The colours not picked are those of the scheme shown.
    QCOMPARE(Model::getColor(Model::BackgroundColor, Model::CustomScheme),
             Util::Vector4D(0, 0, 0, 0));
    QCOMPARE(Model::getColor(Model::ObjectColor, Model::CustomScheme), Util::Vector4D(0, 0, 0, 1));
    // Schemes 0 and 1 are never written.
    QCOMPARE(Model::getColor(Model::GridColor, Model::DefaultScheme),
             Util::Vector4D(0.4, 0.4, 0.4, 1));
}

void TestChangeColorsDialog::loadOnlyKeepsThatScheme()
{
    ChangeColorsDialog dialog;
    dialog.loadLowColorScheme();
    dialog.applyToPalette();
    QCOMPARE(Model::getColorScheme(), int(Model::LowScheme));
    // The custom slots hold the four colours shown.
    QCOMPARE(Model::getColor(Model::BackgroundColor, Model::CustomScheme),
             Util::Vector4D(1, 1, 1, 0));
}

void TestChangeColorsDialog::cancelledChooserChangesNothing()
{
    ChangeColorsDialog dialog;
    whenModal([](QWidget *w) {
        if (QColorDialog *chooser = qobject_cast<QColorDialog *>(w))
            chooser->setCurrentColor(Qt::red);
        static_cast<QDialog *>(w)->reject();
    });
    dialog.form()->btnObjectColor->click();
    QVERIFY(!dialog.isCustomized());
    QCOMPARE(dialog.getColor(ChangeColorsDialog::Object), Util::Vector4D(0, 0, 0, 1));
    QCOMPARE(dialog.resultScheme(), int(Model::DefaultScheme));
}

void TestChangeColorsDialog::customSchemeStaysCustom()
{
    Model::setCustomColor(Model::BackgroundColor, Util::Vector4D(0, 0, 0.5, 0));
    Model::setColorScheme(Model::CustomScheme);
    ChangeColorsDialog dialog;
    QCOMPARE(dialog.getColor(ChangeColorsDialog::Background), Util::Vector4D(0, 0, 0.5, 0));
    QCOMPARE(dialog.resultScheme(), int(Model::CustomScheme));
    dialog.applyToPalette();
    QCOMPARE(Model::getColorScheme(), int(Model::CustomScheme));
    QCOMPARE(Model::getColor(Model::BackgroundColor, Model::CustomScheme),
             Util::Vector4D(0, 0, 0.5, 0));
}

CELVANE_GUI_TEST_MAIN(TestChangeColorsDialog)
#include "tst_changecolorsdialog.moc"
