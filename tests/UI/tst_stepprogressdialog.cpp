#include "UI/Console/commandconsole.h"
#include "UI/stepprogressdialog.h"
#include "testmain.h"
#include "ui_mainwindow.h"
#include "viewtestutil.h"
#include "workspacetestutil.h"

#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

using Model::Automaton::TotalVolume;
using Ui::MainWindow;

/// A long step in a real window: the window goes on drawing, the progress dialog shows the
/// step, and its Cancel ends it without a trace.
class TestStepProgressDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void longStepRepaintsShowsProgressAndCancels();

private:
    QTemporaryDir workDir;
    QPointer<MainWindow> window;
};

void TestStepProgressDialog::init()
{
    QDir::setCurrent(workDir.path());
    window = showMainWindow(800, 600);
    QVERIFY(window);
}

void TestStepProgressDialog::cleanup()
{
    closeWindow(window);
}

void TestStepProgressDialog::longStepRepaintsShowsProgressAndCancels()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window, true);
    QVERIFY(volume);
    Core::Operations::Workspace &workspace = window->getPresenter().getWorkspace();
    const std::vector<quint32> before = cellsOf(volume);
    const int history = workspace.getHistory().undoCount();
    Ui::GLWidget *view = window->getGLWidget();
    QElapsedTimer sinceAccepted;
    const auto deposit = [&](double thickness) {
        workspace.getSelection().setSelectionMode(true);
        workspace.getSelection().togglePicked(QList<quint32>{volume->getId()});
        whenModal([&sinceAccepted, thickness](QWidget *w) {
            w->findChild<QDoubleSpinBox *>(QStringLiteral("dblThickness"))->setValue(thickness);
            sinceAccepted.start();
            static_cast<QDialog *>(w)->accept();
        });
        workspace.startOperation(13);
    };

    // The test holds the volume's second cell array, so the deposition waits for it as for any
    // other reader: the step lasts until the test lets go. Meanwhile the view is asked to
    // repaint every 20 ms; once the dialog is up and the view has drawn three frames since,
    // the window is asked to close (it must not while the step runs), Cancel is clicked and the
    // array released.
    volume->lockNextCells();
    bool held = true;
    QString label;
    bool cancelButton = false;
    qint64 shownAfter = -1;
    quint64 framesAtDialog = 0, framesAtCancel = 0;
    QTimer repaint;
    repaint.setInterval(20);
    connect(&repaint, &QTimer::timeout, [&]() {
        view->update();
        Ui::StepProgressDialog *dialog =
            qobject_cast<Ui::StepProgressDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || !held)
            return;
        if (label.isEmpty()) {
            label = dialog->labelText();
            shownAfter = sinceAccepted.elapsed();
            framesAtDialog = view->getFrameCount();
            return;
        }
        if (view->getFrameCount() < framesAtDialog + 3)
            return;
        framesAtCancel = view->getFrameCount();
        window->close(); // refused while the step runs
        QPushButton *cancel = dialog->findChild<QPushButton *>();
        cancelButton = cancel && cancel->text() == QStringLiteral("Cancel");
        if (cancel)
            cancel->click();
        volume->releaseNextCells();
        held = false;
    });
    repaint.start();
    deposit(45.0);
    repaint.stop();
    if (held)
        volume->releaseNextCells();

    QCOMPARE(label, QStringLiteral("Isotropic Deposition"));
    QVERIFY2(shownAfter >= Ui::StepProgressDialog::showAfterMilliseconds - 50,
             qPrintable(QString::number(shownAfter)));
    QVERIFY(cancelButton);
    QVERIFY(framesAtCancel >= framesAtDialog + 3);
    QVERIFY_CONSOLE_ENDS_WITH(window, "Isotropic Deposition: Operation Canceled!");
    QVERIFY(cellsOf(volume) == before);
    QCOMPARE(workspace.getHistory().undoCount(), history);
    QVERIFY(!workspace.getCurrentOperation());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(window && window->isVisible());

    // Nothing is left held: the next step runs and finishes.
    deposit(1.0);
    QVERIFY_CONSOLE_ENDS_WITH(window, "Isotropic Deposition: Operation finished.");
    QCOMPARE(cellAt(volume, 50, 50, 30), 3u);
    QCOMPARE(workspace.getHistory().undoCount(), history + 1);
}

CELVANE_GUI_TEST_MAIN(TestStepProgressDialog)
#include "tst_stepprogressdialog.moc"
