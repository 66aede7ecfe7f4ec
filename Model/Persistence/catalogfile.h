#ifndef CELVANE_MODEL_PERSISTENCE_CATALOGFILE_H
#define CELVANE_MODEL_PERSISTENCE_CATALOGFILE_H

#include <QString>

#include <functional>

class QXmlStreamReader;
class QXmlStreamWriter;

namespace Model {
namespace Persistence {

/// Where the per-user catalogue files live, and how they are kept safe: they are read from
/// ~/Celvane (or from the home folder itself when that folder is missing), written into
/// ~/Celvane, and an unreadable one is kept as a .bak before the built-in table replaces it.
class CatalogFile
{
public:
    /// The file to read: ~/Celvane/fileName, or ~/fileName when ~/Celvane does not exist.
    static QString readPath(const QString &fileName);
    /// The file to write: ~/Celvane/fileName; creates the folder. Empty when it cannot.
    static QString writePath(const QString &fileName);
    /// Copies an existing, unreadable catalogue file to path + ".bak", replacing an older
    /// backup. True when a backup was made.
    static bool keepBackup(const QString &path);

    /// Opens path, checks that the first element is exactly rootName and calls onElement at
    /// every later start element. False when the file is missing, unreadable, has another
    /// root, an XML error anywhere or is refused by XmlGuard (the reason is logged).
    static bool read(const QString &path, const QString &rootName,
                     const std::function<void(QXmlStreamReader &)> &onElement);
    /// Writes ~/Celvane/fileName as UTF-8, indented XML with the root rootName, the entries
    /// coming from writeEntries; through a temporary file renamed over the old one, so a
    /// failure never leaves a truncated catalogue. False when nothing was written.
    static bool write(const QString &fileName, const QString &rootName,
                      const std::function<void(QXmlStreamWriter &)> &writeEntries);
};

} // namespace Persistence
} // namespace Model

#endif
