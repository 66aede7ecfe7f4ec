#ifndef CELVANE_UTIL_TEMPORARYFILES_H
#define CELVANE_UTIL_TEMPORARYFILES_H

#include <QString>

namespace Util {

/// Files the program removes itself when it ends, also when it is told to stop by a signal
/// (SIGTERM at logout or at a batch job's time limit, SIGINT from Ctrl+C, SIGHUP when its
/// terminal goes): the undo and redo records, which can grow to gigabytes, must not be left
/// behind in the working folder.
class TemporaryFiles
{
public:
    /// Registers a file to remove on a stopping signal; false when every slot is taken or the
    /// path is too long (the file is then only removed by its owner).
    static bool add(const QString &path);
    /// Forgets a file (its owner removes it).
    static void remove(const QString &path);
    /// Makes SIGTERM, SIGINT and SIGHUP remove the registered files before the program ends as
    /// the signal would end it. A signal the program was started to ignore stays ignored.
    static void removeOnStoppingSignals();
};

} // namespace Util

#endif
