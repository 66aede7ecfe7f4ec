#include "Core/Operations/workspace.h"
#include "UI/Operations/extractmodeldialog.h"
#include "UI/viewtestutil.h"
#include "testmain.h"
#include "ui_extractmodeldialog.h"
#include "ui_mainwindow.h"

#include <QPointer>
#include <QTemporaryDir>
#include <boost/make_shared.hpp>

using Ui::Operations::ExtractModelDialog;

/// The model extraction as a user runs it: from the Simulation menu, a picked volume, Enter,
/// and the dialog's three steps.
class TestExtractModelDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromTheMenuThroughTheThreeSteps();
};

void TestExtractModelDialog::fromTheMenuThroughTheThreeSteps()
{
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    QPointer<Ui::MainWindow> window = showMainWindow(900, 700);
    QVERIFY(window);
    const Model::Automaton::TotalVolume::Ptr volume = createDefaultSubstrate(window);
    QVERIFY(volume);
    Core::Operations::Workspace &workspace = window->getPresenter().getWorkspace();
    window->form()->actionModel_Extraction->trigger();
    workspace.getSelection().togglePicked(QList<quint32>{volume->getId()});
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_Return);

    ExtractModelDialog *dialog = window->findChild<ExtractModelDialog *>();
    QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Extract Model"));
    dialog->form()->btnRunStep1->click();
    QCOMPARE(workspace.getDocument().getObjects().size(), 2);
    QVERIFY(volume->getPainter().isSuspended());
    dialog->form()->btnRunStep2->click();
    QCOMPARE(workspace.getDocument().getObjects().size(), 3);

    // A plain substrate has no beam: nothing to save, and no file is asked for.
    auto files = boost::make_shared<FakeDialogs>();
    Core::Operations::IFileDialogs::setInstance(files);
    QString said;
    acceptMessageBox(&said);
    dialog->form()->btnRunStep3->click();
    QCOMPARE(said, QStringLiteral("No model data was extracted."));
    QCOMPARE(files->saveAsked, 0);

    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window->findChild<ExtractModelDialog *>());
    QCOMPARE(workspace.getDocument().getObjects().size(), 1);
    QVERIFY(!volume->getPainter().isSuspended());
    QVERIFY(!workspace.getCurrentOperation());
    closeWindow(window);
}

CELVANE_GUI_TEST_MAIN(TestExtractModelDialog)
#include "tst_extractmodeldialog.moc"
