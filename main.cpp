#include "UI/commandline.h"
#include "Util/debuglog.h"
#include "Util/temporaryfiles.h"

#include <QLoggingCategory>

int main(int argc, char *argv[])
{
    Util::DebugLog::install();
    // Logging out, a batch job's time limit or Ctrl+C must not leave the undo records behind.
    Util::TemporaryFiles::removeOnStoppingSignals();
    // The debug log is for developers and bug reports: shown when CELVANE_DEBUG is set (or
    // through QT_LOGGING_RULES), so a user's terminal stays quiet.
    if (qEnvironmentVariableIsEmpty("CELVANE_DEBUG"))
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    return Ui::CommandLine::run(argc, argv);
}
