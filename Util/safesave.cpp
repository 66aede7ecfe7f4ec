#include "Util/safesave.h"

#include <QSaveFile>

namespace Util {

namespace {

QString reasonOf(const QSaveFile &file)
{
    // A failed write may leave only "Unknown error" behind.
    const QString reason = file.errorString();
    return reason.isEmpty() || reason == QLatin1String("Unknown error")
               ? QStringLiteral("the file could not be written")
               : reason;
}

} // namespace

bool SafeSave::commit(QSaveFile &file, bool written, QString *error)
{
    // Flushed here, its failure is seen; flushed by commit, it would be lost.
    const bool flushed = file.flush();
    if (!flushed)
        file.flush(); // a cut-short write gives no reason; trying again asks the device for one
    if (!written || !flushed) {
        if (error)
            *error = reasonOf(file);
        file.cancelWriting();
        file.commit(); // discards the new file
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = reasonOf(file);
        return false;
    }
    return true;
}

} // namespace Util
