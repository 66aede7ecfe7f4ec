#include "Model/Materials/materialfactory.h"
#include "Model/Process/processfactory.h"
#include "UI/mainwindow.h"
#include "Util/debuglog.h"

#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QLoggingCategory>
#include <QPixmap>

int main(int argc, char *argv[])
{
    Util::DebugLog::install();
    // The debug log is for developers and bug reports: shown when CELVANE_DEBUG is set (or
    // through QT_LOGGING_RULES), so a user's terminal stays quiet.
    if (qEnvironmentVariableIsEmpty("CELVANE_DEBUG"))
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QApplication application(argc, argv);

    QPixmap icon(32, 32);
    if (!icon.load(QStringLiteral("icon.ico")))
        icon.fill(QColor(207, 8, 12, 255));
    QApplication::setWindowIcon(QIcon(icon));

    // The catalogues are process-wide and exist before the first window.
    Model::Materials::MaterialFactory::instance();
    Model::Process::ProcessFactory::instance();

    Ui::MainWindow *window = new Ui::MainWindow();
    window->showMaximized();
    return application.exec();
}
