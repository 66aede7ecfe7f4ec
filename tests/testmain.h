#ifndef CELVANE_TESTS_TESTMAIN_H
#define CELVANE_TESTS_TESTMAIN_H

#include "Util/vector3dmetatype.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(Util::Vector4D)

namespace Util {
/// Lets QCOMPARE print vectors that differ.
inline char *toString(const Vector4D &v)
{
    return QTest::toString(QStringLiteral("(%1, %2, %3, %4)").arg(v.x).arg(v.y).arg(v.z).arg(v.w));
}
} // namespace Util

/// Points HOME at a fresh temporary folder before anything reads it, so no test touches the
/// real catalogue files of the person running the suite.
#define CELVANE_TEST_MAIN_IMPL(TestObject, Application)                                            \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QTemporaryDir home;                                                                        \
        if (!home.isValid())                                                                       \
            return 2;                                                                              \
        qputenv("HOME", home.path().toLocal8Bit());                                                \
        Application app(argc, argv);                                                               \
        app.setProperty("celvane.askBeforeClosing", false);                                        \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

/// A test without widgets.
#define CELVANE_TEST_MAIN(TestObject) CELVANE_TEST_MAIN_IMPL(TestObject, QCoreApplication)
/// A test that drives widgets (under Xvfb when there is no display).
#define CELVANE_GUI_TEST_MAIN(TestObject) CELVANE_TEST_MAIN_IMPL(TestObject, QApplication)

#endif
