#ifndef CELVANE_CORE_OPERATIONS_VOLUMESTATESTORE_H
#define CELVANE_CORE_OPERATIONS_VOLUMESTATESTORE_H

#include "Model/Persistence/objectarchiver.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <boost/shared_ptr.hpp>

#include <vector>

namespace Model {
namespace Automaton {
class TotalVolume;
}
} // namespace Model

namespace Core {
namespace Operations {

/// The per-run undo and redo state files of the cell volumes, and the archivers of the
/// object types. A record is one line: the tag of the operation class, its instance number
/// and the material id of every cell in cell-index order, separated by blanks.
class VolumeStateStore
{
public:
    typedef boost::shared_ptr<Model::Persistence::ObjectArchiver> ArchiverPtr;

    /// Creates two fresh, empty state files "undo<n>.temp" and "redo<n>.temp" in the working
    /// directory (in the temporary folder when the working directory cannot be written).
    VolumeStateStore();
    /// Removes both files.
    ~VolumeStateStore();
    VolumeStateStore(const VolumeStateStore &) = delete;
    VolumeStateStore &operator=(const VolumeStateStore &) = delete;

    void registerArchiver(quint32 type, const ArchiverPtr &archiver);
    ArchiverPtr getArchiver(quint32 type) const;

    QString undoFileName() const { return undoFile; }
    QString redoFileName() const { return redoFile; }

    /// Appends the volume's current cells as a record (holding the volume's cell lock while
    /// it reads them). On failure the file is cut back to where it was and error says why.
    bool appendRecord(const QString &fileName, const QString &key, quint32 instance,
                      Model::Automaton::TotalVolume &volume, QString *error = nullptr);
    /// Reads the record of key and instance with exactly count values. Records this store
    /// wrote are found by their remembered offset; others by scanning line by line.
    bool readRecord(const QString &fileName, const QString &key, quint32 instance, quint64 count,
                    std::vector<quint32> &values) const;

private:
    QMap<quint32, ArchiverPtr> archivers;
    QString undoFile;
    QString redoFile;
    QHash<QString, qint64> recordOffsets; // file + key + instance -> offset
};

} // namespace Operations
} // namespace Core

#endif
