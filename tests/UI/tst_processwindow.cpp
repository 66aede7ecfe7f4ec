#include "Core/Operations/Isotropic/isotropicfilmdepositionoperation.h"
#include "Model/Materials/materialfactory.h"
#include "UI/Console/commandconsole.h"
#include "UI/Operations/bcaetchingdialog.h"
#include "UI/Operations/createsubstratedialog.h"
#include "UI/Operations/photolithographydialog.h"
#include "testmain.h"
#include "ui_mainwindow.h"
#include "viewtestutil.h"
#include "workspacetestutil.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

using Model::Automaton::TotalVolume;
using Ui::MainWindow;

/// Film processes driven the way a user drives them: menus, a click in the view, Return, the
/// options dialog.
class TestProcessWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void depositionByClickAndReturn();
    void rejectedDialogCancels();
    void photolithographyIsUndoable();
    void siWetEtchingUnderAnOxideMask();

private:
    QTemporaryDir workDir;
    QPointer<MainWindow> window;
};

void TestProcessWindow::init()
{
    QDir::setCurrent(workDir.path());
    window = showMainWindow(1024, 768);
    QVERIFY(window);
}

void TestProcessWindow::cleanup()
{
    closeWindow(window);
}

void TestProcessWindow::depositionByClickAndReturn()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window);
    QVERIFY(volume);
    window->form()->actionTop_View->trigger();

    window->form()->actionCVD->trigger();
    QVERIFY_CONSOLE_ENDS_WITH(window,
                              "Isotropic Deposition: Select a cell volume and press Enter/Return.");
    QVERIFY(window->form()->actionSelect->isChecked());

    // Seen from the top, the middle of the view shows the substrate.
    click(window->getGLWidget(), pixelOf(window->getGLWidget(), 50, 50));
    QVERIFY(volume->isSelected());

    QString material;
    QRect dialogFrame;
    whenModal([&material, &dialogFrame](QWidget *w) {
        dialogFrame = w->frameGeometry();
        w->findChild<QDoubleSpinBox *>(QStringLiteral("dblThickness"))->setValue(2.0);
        QComboBox *combo = w->findChild<QComboBox *>(QStringLiteral("cbxMaterial"));
        material = combo->currentText();
        static_cast<QDialog *>(w)->accept();
    });
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_Return);

    QCOMPARE(material, QStringLiteral("Thermal Si02"));
    // The options sat beside the middle of the view, where the volume shows.
    QVERIFY(!dialogFrame.isNull());
    QVERIFY(!dialogFrame.contains(
        window->getGLWidget()->mapToGlobal(window->getGLWidget()->rect().center())));
    QVERIFY_CONSOLE_ENDS_WITH(window, "Isotropic Deposition: Cell volume selected.\n"
                                      "Isotropic Deposition: Operation finished.");
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo Isotropic Deposition"));
    QVERIFY(!volume->isSelected());

    // The substrate was 30 layers high: two layers of oxide on top, away from the sides.
    QCOMPARE(cellAt(volume, 50, 50, 29), 1u);
    QCOMPARE(cellAt(volume, 50, 50, 30), 3u);
    QCOMPARE(cellAt(volume, 50, 50, 31), 3u);
    QCOMPARE(cellAt(volume, 50, 50, 32), 0u);

    // An etch offers the oxide now on top, not the silicon first in its list.
    window->form()->actionSelect->setChecked(true);
    click(window->getGLWidget(), pixelOf(window->getGLWidget(), 50, 50));
    quint32 offered = 0;
    whenModal([&offered](QWidget *w) {
        offered = w->findChild<QComboBox *>(QStringLiteral("cbxMaterial"))->currentData().toUInt();
        static_cast<QDialog *>(w)->reject();
    });
    window->form()->actionIsotropic_Film_Etching->trigger();
    QCOMPARE(offered, 3u);

    window->form()->actionUndo->trigger();
    QCOMPARE(cellAt(volume, 50, 50, 30), 0u);
}

void TestProcessWindow::rejectedDialogCancels()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window);
    window->form()->actionTop_View->trigger();
    window->form()->actionSelect->setChecked(true);
    click(window->getGLWidget(), pixelOf(window->getGLWidget(), 50, 50));
    QVERIFY(volume->isSelected());
    whenModal([](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
    window->form()->actionSimple_RIE->trigger();
    QVERIFY_CONSOLE_ENDS_WITH(window, "Simple RIE: Operation canceled.");
    QVERIFY(!window->getPresenter().getWorkspace().getCurrentOperation());
}

void TestProcessWindow::photolithographyIsUndoable()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window);
    const std::vector<quint32> before = cellsOf(volume);
    window->form()->actionTop_View->trigger();
    QCOMPARE(window->getPresenter().getWorkspace().getHistory().undoCount(), 1);
    window->form()->actionSelect->setChecked(true);
    click(window->getGLWidget(), pixelOf(window->getGLWidget(), 50, 50));

    QRect dialogFrame;
    QStringList questions;
    whenModal([&](QWidget *w) {
        dialogFrame = w->frameGeometry();
        // The missing mask: yes, develop it all. Nothing else is asked.
        whenModal([&questions](QWidget *box) {
            if (QMessageBox *noMask = qobject_cast<QMessageBox *>(box)) {
                questions.append(noMask->text());
                noMask->button(QMessageBox::Yes)->click();
            }
        });
        static_cast<QDialog *>(w)->accept();
    });
    window->form()->actionPhotolithography->trigger();

    // The dialog sat beside the middle of the view, where the masks show.
    const QPoint middle =
        window->getGLWidget()->mapToGlobal(window->getGLWidget()->rect().center());
    QVERIFY(!dialogFrame.isNull());
    QVERIFY(!dialogFrame.contains(middle));
    QCOMPARE(questions.size(), 1);
    QVERIFY(!questions[0].contains(QLatin1String("cannot be undone")));
    Core::Operations::OperationHistory &history =
        window->getPresenter().getWorkspace().getHistory();
    QCOMPARE(history.undoCount(), 2);
    QCOMPARE(QString::fromStdString(history.undoTopName()), QStringLiteral("Photolithography"));
    QVERIFY(history.undo());
    QVERIFY(cellsOf(volume) == before);
    QVERIFY(!window->getPresenter().getWorkspace().getCurrentOperation());
}

void TestProcessWindow::siWetEtchingUnderAnOxideMask()
{
    // A 40 x 40 x 20 volume, silicon 12 high.
    whenDialog<Ui::Operations::CreateSubstrateDialog>([](Ui::Operations::CreateSubstrateDialog *d) {
        for (const char *name :
             {"sbxTotalWidth", "sbxTotalLength", "sbxSubsWidth", "sbxSubsLength"})
            d->findChild<QSpinBox *>(name)->setValue(40);
        d->findChild<QSpinBox *>("sbxTotalHeight")->setValue(20);
        d->findChild<QSpinBox *>("sbxSubsHeight")->setValue(12);
        d->accept();
    });
    window->form()->actionCreate_Substrate->trigger();
    const TotalVolume::Ptr volume = boost::dynamic_pointer_cast<TotalVolume>(
        window->getPresenter().getDocument().getObjects().last());
    QVERIFY(volume);
    QCOMPARE(volume->getCellsX(), 40u);
    QCOMPARE(cellAt(volume, 20, 20, 11), 1u);
    QCOMPARE(cellAt(volume, 20, 20, 12), 0u);
    window->form()->actionTop_View->trigger();
    Ui::GLWidget *view = window->getGLWidget();
    view->setZoom(0.12f); // the volume fills a third of the view
    const Util::Vector3D corner = volume->getPosition();
    const QPoint middle = pixelOf(view, corner.x + 20, corner.y + 20);
    const auto pick = [&]() {
        window->form()->actionSelect->setChecked(true);
        click(view, middle);
        QVERIFY(volume->isSelected());
    };

    // Two layers of oxide, opened by photolithography over x, y in [12, 28).
    pick();
    whenModal([](QWidget *w) {
        w->findChild<QDoubleSpinBox *>(QStringLiteral("dblThickness"))->setValue(2.0);
        static_cast<QDialog *>(w)->accept();
    });
    window->form()->actionCVD->trigger();
    QCOMPARE(cellAt(volume, 20, 20, 13), 3u);
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int x = 12; x < 28; ++x)
        for (int y = 12; y < 28; ++y)
            image.setPixel(x, y, qRgb(255, 255, 255));
    const QString maskFile = QDir(workDir.path()).filePath(QStringLiteral("opening.png"));
    QVERIFY(image.save(maskFile));
    pick();
    quint32 offeredFilm = 0;
    whenDialog<Ui::Operations::PhotolithographyDialog>(
        [&](Ui::Operations::PhotolithographyDialog *d) {
            // Chosen but not applied: OK applies it. The film on top is offered first.
            d->findChild<QLineEdit *>(QStringLiteral("lieTopMask"))->setText(maskFile);
            offeredFilm = d->getMaterialId();
            d->accept();
        });
    window->form()->actionPhotolithography->trigger();
    QCOMPARE(offeredFilm, 3u);
    QCOMPARE(cellAt(volume, 20, 20, 12), 0u);
    QCOMPARE(cellAt(volume, 5, 20, 12), 3u);

    // Etched 4 units: the bottom of the pit at z = 8, the mask edges not undercut.
    pick();
    whenDialog<Ui::Operations::BCAEtchingDialog>([](Ui::Operations::BCAEtchingDialog *d) {
        d->findChild<QDoubleSpinBox *>(QStringLiteral("dblDepth"))->setValue(4.0);
        d->accept();
    });
    window->form()->actionBCA_Wet_Etching->trigger();
    QVERIFY_CONSOLE_ENDS_WITH(window, "BCA Wet Etch: Cell volume selected.\n"
                                      "BCA Wet Etch: Operation finished.");
    QVERIFY(!window->getPresenter().getWorkspace().getCurrentOperation());
    QCOMPARE(cellAt(volume, 20, 20, 8), 0u);
    QCOMPARE(cellAt(volume, 20, 20, 7), 1u);
    QCOMPARE(cellAt(volume, 11, 20, 11), 1u);
    QCOMPARE(cellAt(volume, 20, 28, 11), 1u);
    QCOMPARE(cellAt(volume, 5, 5, 11), 1u);

    // The continuous etch carries on from the same menu's dialog: one atomic layer of the
    // bottom (four steps) leaves its cells silicon.
    pick();
    whenDialog<Ui::Operations::BCAEtchingDialog>([](Ui::Operations::BCAEtchingDialog *d) {
        d->findChild<QDoubleSpinBox *>(QStringLiteral("dblDepth"))->setValue(1.0);
        d->accept();
    });
    window->form()->actionContinuous_Wet_Etching->trigger();
    QVERIFY_CONSOLE_ENDS_WITH(window, "Continuous Wet Etch: Cell volume selected.\n"
                                      "Continuous Wet Etch: no cell changed.\n"
                                      "Continuous Wet Etch: Operation finished.");
    QCOMPARE(cellAt(volume, 20, 20, 7), 1u);
    QCOMPARE(cellAt(volume, 11, 20, 11), 1u);

    // The atoms show through translucent silicon once "Render Si Atoms" is on.
    const Model::Materials::MaterialFactory::Ptr catalogue =
        Model::Materials::MaterialFactory::instance();
    const Model::Materials::Material silicon = catalogue->getMaterial(1);
    Model::Materials::Material clear = silicon;
    clear.setColor(0.5f, 0.5f, 0.5f, 0.3f);
    catalogue->setMaterial(clear);
    volume->getPainter().refresh();
    const QImage faces = view->renderImage();
    pick();
    whenModal([](QWidget *w) {
        w->findChild<QCheckBox *>(QStringLiteral("cbxRenderSiAtoms"))->setChecked(true);
        static_cast<QDialog *>(w)->accept();
    });
    window->form()->actionChange_Viewing_Options->trigger();
    QVERIFY(volume->getPainter().getRenderSiAtoms());
    QVERIFY(volume->getPainter().getAtomicRenderer().getAtomCount() > 0);
    const QImage atoms = view->renderImage();
    catalogue->setMaterial(silicon);
    QCOMPARE(atoms.size(), faces.size());
    int changed = 0;
    for (int y = 0; y < atoms.height(); ++y)
        for (int x = 0; x < atoms.width(); ++x)
            changed += atoms.pixel(x, y) != faces.pixel(x, y);
    QVERIFY2(changed > 1000, qPrintable(QString::number(changed)));
}

CELVANE_GUI_TEST_MAIN(TestProcessWindow)
#include "tst_processwindow.moc"
