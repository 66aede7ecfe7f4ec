#include "Core/Operations/documentfile.h"
#include "UI/Console/commandconsole.h"
#include "UI/mainwindow.h"
#include "fakefiledialogs.h"
#include "guitestutil.h"
#include "testmain.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>

using Ui::MainWindow;

namespace {

QList<MainWindow *> mainWindows()
{
    QList<MainWindow *> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (MainWindow *m = qobject_cast<MainWindow *>(w))
            if (!w->testAttribute(Qt::WA_WState_Hidden) || w->isVisible())
                windows.append(m);
    return windows;
}

} // namespace

class TestDocumentWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void saveAsksOnceThenNot();
    void openShowsSecondWindow();
    void unreadableDocumentLeavesNoWindow();
    void missingDocumentLeavesNoWindow();
    void damagedDocumentOpensUntitled();
    void failedSaveKeepsTitle();
    void closingAsksAboutUnsavedChanges();

private:
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QTemporaryDir dir;
    QPointer<MainWindow> window;
    boost::shared_ptr<FakeDialogs> dialogs;
};

void TestDocumentWindows::init()
{
    QDir::setCurrent(dir.path());
    dialogs = installFakeDialogs();
    window = showMainWindow();
    QVERIFY(window);
}

void TestDocumentWindows::cleanup()
{
    for (MainWindow *w : mainWindows())
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestDocumentWindows::saveAsksOnceThenNot()
{
    createSmallSubstrate(window);
    dialogs->saveAnswer = path("wafer.clv");
    QApplication::setActiveWindow(window);
    window->form()->actionSave->trigger();
    QCOMPARE(dialogs->saveAsked, 1);
    QVERIFY(QFile::exists(path("wafer.clv")));
    QCOMPARE(window->windowTitle(), QStringLiteral("Celvane  ") + path("wafer.clv"));
    QFile::remove(path("wafer.clv"));
    window->form()->actionSave->trigger();
    QCOMPARE(dialogs->saveAsked, 1);
    QVERIFY(QFile::exists(path("wafer.clv")));
    // A new document has no file: the title says so, and the next save asks again.
    answerMessageBox(QMessageBox::Ok);
    window->form()->actionNew->trigger();
    QCOMPARE(window->windowTitle(), QStringLiteral("Celvane"));
    window->form()->actionSave->trigger();
    QCOMPARE(dialogs->saveAsked, 2);
}

void TestDocumentWindows::openShowsSecondWindow()
{
    createSmallSubstrate(window);
    dialogs->saveAnswer = path("shared.clv");
    window->form()->actionSave->trigger();
    const QString firstTitle = window->windowTitle();

    dialogs->openAnswer = path("shared.clv");
    window->form()->actionOpen->trigger();
    QList<MainWindow *> windows = mainWindows();
    QCOMPARE(windows.size(), 2);
    MainWindow *second = windows[0] == window ? windows[1] : windows[0];
    QCOMPARE(second->windowTitle(), QStringLiteral("Celvane  ") + path("shared.clv"));
    QCOMPARE(second->getPresenter().getWorkspace().getDocument().getObjects().size(), 1);
    // The first window is as it was.
    QCOMPARE(window->windowTitle(), firstTitle);
    QCOMPARE(window->getPresenter().getWorkspace().getDocument().getObjects().size(), 1);
    QVERIFY(window->getPresenter().getWorkspace().getDocument().getObjects()[0] !=
            second->getPresenter().getWorkspace().getDocument().getObjects()[0]);
    // The two consoles do not lie on top of each other.
    QVERIFY(window->getPresenter().getConsole()->pos() !=
            second->getPresenter().getConsole()->pos());
}

void TestDocumentWindows::unreadableDocumentLeavesNoWindow()
{
    QFile file(path("junk.clv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<notes>not a document</notes>");
    file.close();
    dialogs->openAnswer = path("junk.clv");
    QString title;
    whenModal([&title](QWidget *w) {
        title = w->windowTitle();
        static_cast<QDialog *>(w)->accept();
    });
    window->form()->actionOpen->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(title, QStringLiteral("Error reading from file"));
    QCOMPARE(mainWindows().size(), 1);
}

void TestDocumentWindows::missingDocumentLeavesNoWindow()
{
    dialogs->openAnswer = path("gone.clv");
    QString text;
    acceptMessageBox(&text);
    window->form()->actionOpen->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(text.contains(path("gone.clv")), qPrintable(text));
    QCOMPARE(mainWindows().size(), 1);
}

void TestDocumentWindows::damagedDocumentOpensUntitled()
{
    createSmallSubstrate(window);
    dialogs->saveAnswer = path("whole.clv");
    window->form()->actionSave->trigger();
    QFile file(path("whole.clv"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray text = file.readAll();
    QVERIFY(file.resize(text.indexOf("<State>") + 30)); // cut inside the cells
    file.close();
    const qint64 damagedSize = QFileInfo(path("whole.clv")).size();

    dialogs->openAnswer = path("whole.clv");
    QString shown;
    acceptMessageBox(&shown);
    window->form()->actionOpen->trigger();
    QVERIFY2(shown.contains(QLatin1String("untitled")), qPrintable(shown));
    QList<MainWindow *> windows = mainWindows();
    QCOMPARE(windows.size(), 2);
    MainWindow *second = windows[0] == window ? windows[1] : windows[0];
    QCOMPARE(second->windowTitle(), QStringLiteral("Celvane"));
    // Save asks for a name instead of writing over the damaged file.
    dialogs->saveAnswer.clear();
    const int asked = dialogs->saveAsked;
    second->form()->actionSave->trigger();
    QCOMPARE(dialogs->saveAsked, asked + 1);
    QCOMPARE(QFileInfo(path("whole.clv")).size(), damagedSize);
}

void TestDocumentWindows::failedSaveKeepsTitle()
{
    dialogs->saveAnswer = path("ok.clv");
    window->form()->actionSave->trigger();
    const QString title = window->windowTitle();
    dialogs->saveAnswer = path("no/such/folder/doc.clv");
    QString text;
    acceptMessageBox(&text);
    window->form()->actionSave_as->trigger();
    QVERIFY2(text.contains(QLatin1String("could not be saved")), qPrintable(text));
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(window->getPresenter().getWorkspace().getDocument().getFileName(), path("ok.clv"));
    // Save As asks every time, and the title follows the new name.
    dialogs->saveAnswer = path("b.clv");
    window->form()->actionSave_as->trigger();
    QCOMPARE(dialogs->saveAsked, 3);
    QVERIFY(QFile::exists(path("ok.clv")) && QFile::exists(path("b.clv")));
    QCOMPARE(window->windowTitle(), QStringLiteral("Celvane  ") + path("b.clv"));
}

void TestDocumentWindows::closingAsksAboutUnsavedChanges()
{
    qApp->setProperty("celvane.askBeforeClosing", true);
    // A fresh window closes without a question.
    QPointer<MainWindow> fresh = new MainWindow();
    fresh->show();
    QVERIFY(!fresh->getPresenter().getWorkspace().getDocument().isModified());
    QVERIFY(fresh->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!fresh);

    createSmallSubstrate(window);
    QVERIFY(window->getPresenter().getWorkspace().getDocument().isModified());
    answerMessageBox(QMessageBox::Cancel);
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());

    // Save, but the file dialog is cancelled: the window stays.
    dialogs->saveAnswer.clear();
    answerMessageBox(QMessageBox::Save);
    QVERIFY(!window->close());

    // Save with a name: written, then closed.
    dialogs->saveAnswer = path("closing.clv");
    answerMessageBox(QMessageBox::Save);
    QVERIFY(window->close());
    QVERIFY(QFile::exists(path("closing.clv")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window);

    // Discard throws the changes away on purpose.
    window = new MainWindow();
    window->show();
    createSmallSubstrate(window);
    answerMessageBox(QMessageBox::Discard);
    QVERIFY(window->close());
    qApp->setProperty("celvane.askBeforeClosing", false);
}

CELVANE_GUI_TEST_MAIN(TestDocumentWindows)
#include "tst_documentwindows.moc"
