#ifndef CELVANE_TESTS_TESTMAIN_H
#define CELVANE_TESTS_TESTMAIN_H

#include "Util/vector3dmetatype.h"
#include "fakefiledialogs.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(Util::Vector4D)

namespace Util {
/// Lets QCOMPARE print vectors that differ.
inline char *toString(const Vector4D &v)
{
    return QTest::toString(QStringLiteral("(%1, %2, %3, %4)").arg(v.x).arg(v.y).arg(v.z).arg(v.w));
}
} // namespace Util

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#include <QDialog>
#include <QPointer>

/// Fails the running test and rejects a modal window that stayed unanswered for a minute, so a
/// missed answer ends in a failure instead of blocking the suite until its time-out.
inline void startModalWatchdog(QCoreApplication &app)
{
    // Widget tests without a window run on a QCoreApplication: no modal window to look for, and
    // asking for one there would crash.
    if (!qobject_cast<QApplication *>(&app))
        return;
    QTimer *timer = new QTimer(&app);
    auto seen = std::make_shared<std::pair<QPointer<QWidget>, int>>();
    QObject::connect(timer, &QTimer::timeout, [seen]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal != seen->first) {
            *seen = {modal, 0};
            return;
        }
        if (++seen->second < 60)
            return;
        QTest::qFail(qPrintable(QStringLiteral("a modal window was left unanswered: ") +
                                modal->windowTitle()),
                     __FILE__, __LINE__);
        if (QDialog *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    });
    timer->start(1000);
}
#else
inline void startModalWatchdog(QCoreApplication &) {}
#endif

/// Points HOME at a fresh temporary folder before anything reads it, so no test touches the
/// real catalogue files of the person running the suite. File questions are answered as
/// cancelled unless a test installs its own answers: no test may wait on a real file dialog.
#define CELVANE_TEST_MAIN_IMPL(TestObject, Application)                                            \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QTemporaryDir home;                                                                        \
        if (!home.isValid())                                                                       \
            return 2;                                                                              \
        qputenv("HOME", home.path().toLocal8Bit());                                                \
        Application app(argc, argv);                                                               \
        app.setProperty("celvane.askBeforeClosing", false);                                        \
        Core::Operations::IFileDialogs::setInstance(                                               \
            boost::shared_ptr<Core::Operations::IFileDialogs>(new FakeDialogs()));                 \
        startModalWatchdog(app);                                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

/// A test without widgets.
#define CELVANE_TEST_MAIN(TestObject) CELVANE_TEST_MAIN_IMPL(TestObject, QCoreApplication)
/// A test that drives widgets (under Xvfb when there is no display).
#define CELVANE_GUI_TEST_MAIN(TestObject) CELVANE_TEST_MAIN_IMPL(TestObject, QApplication)

#endif
