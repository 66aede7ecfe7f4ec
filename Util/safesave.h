#ifndef CELVANE_UTIL_SAFESAVE_H
#define CELVANE_UTIL_SAFESAVE_H

#include <QString>

class QSaveFile;

namespace Util {

/// The end of a save through QSaveFile: the file named is replaced only by a whole new one.
/// QSaveFile::commit alone loses a failure of its last flush (a full disk while the final bytes
/// go out, which for a small file are all its bytes) and then puts the cut-off file in place of
/// the previous one.
class SafeSave
{
public:
    /// Flushes file and commits it when written holds (the writer saw no error). When written
    /// is false or the flush or commit fails, the new file is discarded, the previous one stays
    /// as it was, false is returned and error (when given) receives the device's reason ("No
    /// space left on device"), or "the file could not be written" when it has none.
    static bool commit(QSaveFile &file, bool written, QString *error);
};

} // namespace Util

#endif
