#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Materials/materialfactory.h"
#include "Model/Process/processfactory.h"
#include "UI/Console/commandconsole.h"
#include "UI/Operations/anisotropicdepositiondialog.h"
#include "UI/Operations/dopingoptionsdialog.h"
#include "UI/Operations/electrodepositiondialog.h"
#include "UI/Operations/ionimplantationoptionsdialog.h"
#include "UI/Operations/simpleoxidationoptionsdialog.h"
#include "UI/mainwindow.h"
#include "guitestutil.h"
#include "testmain.h"
#include "ui_mainwindow.h"
#include "workspacetestutil.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

using Model::Automaton::TotalVolume;
using Ui::MainWindow;

namespace {

/// Sets a spin box of the dialog shown.
void setSpin(QWidget *dialog, const char *name, double value)
{
    dialog->findChild<QDoubleSpinBox *>(QLatin1String(name))->setValue(value);
}

/// Chooses the entry of a material combo with the given id.
void choose(QWidget *dialog, const char *name, quint32 id)
{
    QComboBox *combo = dialog->findChild<QComboBox *>(QLatin1String(name));
    combo->setCurrentIndex(combo->findData(id));
}

/// Runs action on the next modal dialog if it is of type D, then accepts it; rejects any other.
template <class D> void answer(std::function<void(D *)> action)
{
    whenDialog<D>([action](D *dialog) {
        action(dialog);
        dialog->accept();
    });
}

} // namespace

class TestFilmProcessObservers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void oxidationToAThickness();
    void oxidationForATime();
    void oxidationThickerThanTheVolumeAsks();
    void doping();
    void dopingUnderAFullCoverChangesNothing();
    void implantation();
    void pvdFromBelow();
    void electroplating();
    void rejectedDialogCancelsTheOperation();

private:
    /// A 6 x 5 x 10 volume with silicon below z = 4, picked.
    TotalVolume::Ptr addPickedVolume();
    quint32 at(quint32 x, quint32 y, quint32 z) { return cellAt(volume, x, y, z); }
    QString lastConsoleLine();
    Core::Operations::Workspace &workspace() { return window->getPresenter().getWorkspace(); }

    QPointer<MainWindow> window;
    TotalVolume::Ptr volume;
    QTemporaryDir workDir;
};

void TestFilmProcessObservers::initTestCase()
{
    Model::Materials::MaterialFactory::instance()->loadDefaultMaterials();
    Model::Process::ProcessFactory::instance()->loadDefaultProcesses();
}

void TestFilmProcessObservers::init()
{
    QDir::setCurrent(workDir.path()); // the state files go to the working directory
    window = showMainWindow();
    QVERIFY(window);
}

void TestFilmProcessObservers::cleanup()
{
    volume.reset();
    closeWindow(window);
}

TotalVolume::Ptr TestFilmProcessObservers::addPickedVolume()
{
    volume = TotalVolume::createFilled(6, 5, 10, 1, 1, 1, Util::Vector3D(), 0);
    for (quint32 x = 0; x < 6; ++x)
        for (quint32 y = 0; y < 5; ++y)
            for (quint32 z = 0; z < 4; ++z)
                setCell(volume, x, y, z, 1);
    workspace().getDocument().addObject(volume);
    workspace().getSelection().setSelectionMode(true);
    workspace().getSelection().togglePicked(QList<quint32>{volume->getId()});
    return volume;
}

QString TestFilmProcessObservers::lastConsoleLine()
{
    return QString::fromStdString(workspace().getConsoleInput().getLastMessage());
}

void TestFilmProcessObservers::oxidationToAThickness()
{
    addPickedVolume();
    answer<Ui::Operations::SimpleOxidationOptionsDialog>([](auto *d) {
        setSpin(d, "sbxOxideThickness", 0.05); // 5 cell units at 100 per micron
    });
    window->form()->actionSi_Oxidation->trigger();
    QCOMPARE(lastConsoleLine(), QStringLiteral("Simple Si Oxidation: Operation finished."));
    QVERIFY(consoleText(window).contains(
        QLatin1String("Simple Si Oxidation: Oxide thickness 0.05 microns (5 cell units).\n")));
    for (quint32 z = 0; z < 10; ++z)
        QCOMPARE(at(3, 2, z), z < 2 ? 1u : (z < 6 ? 3u : 0u));
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo Simple Si Oxidation"));
    QVERIFY(window->form()->actionUndo->isEnabled());
}

void TestFilmProcessObservers::oxidationForATime()
{
    addPickedVolume();
    answer<Ui::Operations::SimpleOxidationOptionsDialog>([](auto *d) {
        d->template findChild<QRadioButton *>(QStringLiteral("radOxidationTime"))->click();
        setSpin(d, "sbxOxidationPressure", 0.0);
    });
    window->form()->actionSi_Oxidation->trigger();
    QCOMPARE(lastConsoleLine(), QStringLiteral("Simple Si Oxidation: Operation finished."));
    QCOMPARE(at(3, 2, 3), 1u); // no oxide for 0 atm, and the console says so
    QVERIFY2(consoleText(window).contains(
                 QLatin1String("Simple Si Oxidation: No oxide could be computed")),
             qPrintable(consoleText(window)));
}

void TestFilmProcessObservers::oxidationThickerThanTheVolumeAsks()
{
    addPickedVolume();
    // 2 h at 1273 K and 1 atm: Deal-Grove gives 0.105457 um, 10.5457 cell units at 100 per
    // micron, more than the 10 units of the volume's height.
    QString question;
    answer<Ui::Operations::SimpleOxidationOptionsDialog>([&question](auto *d) {
        d->template findChild<QRadioButton *>(QStringLiteral("radOxidationTime"))->click();
        whenModal([&question](QWidget *w) {
            if (QMessageBox *box = qobject_cast<QMessageBox *>(w)) {
                question = box->text();
                box->button(QMessageBox::No)->click();
            }
        });
    });
    window->form()->actionSi_Oxidation->trigger();
    QVERIFY2(consoleText(window).contains(QLatin1String(
                 "Simple Si Oxidation: Oxide thickness 0.105457 microns (10.5457 cell units).")),
             qPrintable(consoleText(window)));
    QCOMPARE(question, QStringLiteral("The oxide (10.5457 cell units) is thicker than the cell "
                                      "volume is high (10 cell units). Grow it anyway?"));
    QCOMPARE(lastConsoleLine(), QStringLiteral("Simple Si Oxidation: Operation canceled."));
    QVERIFY(!workspace().getCurrentOperation());
    QCOMPARE(at(3, 2, 3), 1u);
    QCOMPARE(at(3, 2, 4), 0u);
}

void TestFilmProcessObservers::doping()
{
    addPickedVolume();
    answer<Ui::Operations::DopingOptionsDialog>([](auto *d) {
        choose(d, "cbxDopedMaterial", 15);
        setSpin(d, "dblDopingDepth", 2.0);
    });
    window->form()->actionDoping->trigger();
    QCOMPARE(lastConsoleLine(), QStringLiteral("Doping: Operation finished."));
    for (quint32 z = 0; z < 5; ++z)
        QCOMPARE(at(1, 1, z), z < 2 ? 1u : (z < 4 ? 15u : 0u));
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo Doping"));
    window->form()->actionUndo->trigger();
    QCOMPARE(at(1, 1, 3), 1u);
}

void TestFilmProcessObservers::dopingUnderAFullCoverChangesNothing()
{
    addPickedVolume();
    for (quint32 x = 0; x < 6; ++x)
        for (quint32 y = 0; y < 5; ++y)
            setCell(volume, x, y, 4, 3); // oxide over all the silicon
    answer<Ui::Operations::DopingOptionsDialog>([](auto *d) {
        choose(d, "cbxDopedMaterial", 15);
        setSpin(d, "dblDopingDepth", 2.0);
    });
    window->form()->actionDoping->trigger();
    QVERIFY_CONSOLE_ENDS_WITH(window, "Doping: no cell changed.\n"
                                      "Doping: Operation finished.");
    QCOMPARE(at(1, 1, 3), 1u);
}

void TestFilmProcessObservers::implantation()
{
    addPickedVolume();
    answer<Ui::Operations::IonImplantationOptionsDialog>([](auto *d) {
        choose(d, "cbxDopedMaterial", 14);
        setSpin(d, "dblImplantationDepth", 3.0);
        setSpin(d, "dblAnnealingDistance", 0.0);
    });
    window->form()->actionIon_Implantation->trigger();
    QCOMPARE(lastConsoleLine(), QStringLiteral("Ion Implantation: Operation finished."));
    for (quint32 z = 0; z < 5; ++z)
        QCOMPARE(at(4, 3, z), z == 1 ? 14u : (z < 4 ? 1u : 0u));
}

void TestFilmProcessObservers::pvdFromBelow()
{
    addPickedVolume();
    // A bridge of silicon z = 7, 8 over x = 1..4: deposition on the bottom grows under it only.
    for (quint32 x = 1; x < 5; ++x)
        for (quint32 y = 0; y < 5; ++y)
            for (quint32 z = 7; z < 9; ++z)
                setCell(volume, x, y, z, 1);
    answer<Ui::Operations::AnisotropicDepositionDialog>([](auto *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("PVD Options"));
        choose(d, "cbxMaterials", 8);
        setSpin(d, "dbxFilmThickness", 1.0);
        d->template findChild<QRadioButton *>(QStringLiteral("radDepositOnBottom"))->click();
    });
    window->form()->actionPVD->trigger();
    QCOMPARE(lastConsoleLine(), QStringLiteral("Isotropic Deposition: Operation finished."));
    QCOMPARE(at(2, 2, 6), 8u); // under the bridge
    QCOMPARE(at(2, 2, 9), 0u); // not on it
    QCOMPARE(at(2, 2, 4), 0u); // nor on the substrate
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo Isotropic Deposition"));
}

void TestFilmProcessObservers::electroplating()
{
    addPickedVolume();
    setCell(volume, 2, 2, 4, 5);
    answer<Ui::Operations::ElectrodepositionDialog>([](auto *d) {
        choose(d, "cbxMaterial", 9);
        choose(d, "cbxConductingMaterial", 5);
        setSpin(d, "dblFilmThickness", 1.0);
    });
    window->form()->actionElectrodeposition->trigger();
    QCOMPARE(lastConsoleLine(), QStringLiteral("Electroplating: Operation finished."));
    QCOMPARE(at(2, 2, 5), 9u);
    QCOMPARE(at(3, 2, 4), 9u);
    QCOMPARE(at(4, 2, 4), 0u);
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo Electroplating"));
}

void TestFilmProcessObservers::rejectedDialogCancelsTheOperation()
{
    QAction *actions[] = {window->form()->actionSi_Oxidation, window->form()->actionDoping,
                          window->form()->actionIon_Implantation, window->form()->actionPVD,
                          window->form()->actionElectrodeposition};
    for (QAction *action : actions) {
        addPickedVolume();
        whenModal([](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
        action->trigger();
        // Ended at once, with its cancel message, and nothing changed.
        QVERIFY2(!workspace().getCurrentOperation(), qPrintable(action->objectName()));
        // Each operation's own cancel text (ion implantation: "Operation Canceled!").
        QVERIFY2(QRegularExpression(QStringLiteral(": Operation [Cc]anceled[.!]$"))
                     .match(lastConsoleLine())
                     .hasMatch(),
                 qPrintable(lastConsoleLine()));
        QCOMPARE(at(3, 2, 4), 0u);
    }
}

CELVANE_GUI_TEST_MAIN(TestFilmProcessObservers)
#include "tst_filmprocessobservers.moc"
