#ifndef CELVANE_UTIL_DEBUGLOG_H
#define CELVANE_UTIL_DEBUGLOG_H

#include <QString>

class QMessageLogContext;

namespace Util {

/// Formats the toolkit's debug stream with its context: the source path below the source
/// root without extension (Model/Automaton/totalvolume), the line and the function.
/// Diagnostics go to standard error only; they never reach the user.
class DebugLog
{
public:
    static void install();
    /// "Model/Automaton/totalvolume:42 void f(): text"
    static QString format(const QMessageLogContext &context, const QString &message);
    /// "Model/Automaton/totalvolume.cpp" -> "Model/Automaton/totalvolume"
    static QString sourcePath(const char *file);
    /// The file name of a log context below the source root, extension kept.
    static QString belowSourceRoot(const char *file);
};

} // namespace Util

#endif
