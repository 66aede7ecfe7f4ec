#include "Core/Operations/Isotropic/isotropicfilmdepositionoperation.h"
#include "UI/Console/commandconsole.h"
#include "testmain.h"
#include "ui_mainwindow.h"
#include "viewtestutil.h"
#include "workspacetestutil.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
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
    void photolithographyAsksBeforeEndingTheHistory();

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
    const QPlainTextEdit *console = window->getPresenter().getConsole()->outputPane();
    QVERIFY(console->toPlainText().endsWith(
        QLatin1String("Isotropic Deposition: Select a cell volume and press Enter/Return.")));
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
    QVERIFY2(console->toPlainText().endsWith(
                 QLatin1String("Isotropic Deposition: Cell volume selected.\n"
                               "Isotropic Deposition: Operation finished.")),
             qPrintable(console->toPlainText()));
    QCOMPARE(window->form()->actionUndo->text(), QStringLiteral("Undo Isotropic Deposition"));
    QVERIFY(!volume->isSelected());

    // The substrate was 30 layers high: two layers of oxide on top, away from the sides.
    QCOMPARE(cellAt(volume, 50, 50, 29), 1u);
    QCOMPARE(cellAt(volume, 50, 50, 30), 3u);
    QCOMPARE(cellAt(volume, 50, 50, 31), 3u);
    QCOMPARE(cellAt(volume, 50, 50, 32), 0u);

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
    const QPlainTextEdit *console = window->getPresenter().getConsole()->outputPane();
    QVERIFY2(console->toPlainText().endsWith(QLatin1String("Simple RIE: Operation canceled.")),
             qPrintable(console->toPlainText()));
    QVERIFY(!window->getPresenter().getWorkspace().getCurrentOperation());
}

void TestProcessWindow::photolithographyAsksBeforeEndingTheHistory()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window);
    window->form()->actionTop_View->trigger();
    QCOMPARE(window->getPresenter().getWorkspace().getHistory().undoCount(), 1);
    window->form()->actionSelect->setChecked(true);
    click(window->getGLWidget(), pixelOf(window->getGLWidget(), 50, 50));

    QRect dialogFrame;
    QString question;
    whenModal([&](QWidget *w) {
        dialogFrame = w->frameGeometry();
        whenModal([&question](QWidget *box) {
            if (QMessageBox *message = qobject_cast<QMessageBox *>(box)) {
                question = message->text();
                message->button(QMessageBox::No)->click();
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
    QVERIFY2(question.contains(QLatin1String("cannot be undone")), qPrintable(question));
    // Declined: the substrate's creation can still be undone.
    QCOMPARE(window->getPresenter().getWorkspace().getHistory().undoCount(), 1);
    QVERIFY(!window->getPresenter().getWorkspace().getCurrentOperation());
}

CELVANE_GUI_TEST_MAIN(TestProcessWindow)
#include "tst_processwindow.moc"
