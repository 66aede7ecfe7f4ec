#ifndef CELVANE_CORE_OPERATIONS_VOLUMESTATESTORE_H
#define CELVANE_CORE_OPERATIONS_VOLUMESTATESTORE_H

#include "Model/Persistence/objectarchiver.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <functional>
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
///
/// Records are shared: a volume that still holds exactly the cells of a kept record (the
/// state after the previous step is the state before the next one) is not written again.
/// A record stays in the files while someone holds its RecordPtr; compact() reclaims the
/// space of the others.
class VolumeStateStore
{
public:
    typedef boost::shared_ptr<Model::Persistence::ObjectArchiver> ArchiverPtr;

    /// Where one record lies and what it holds.
    struct Record
    {
        QString fileName;
        qint64 offset = 0;
        qint64 length = 0; ///< bytes, the line break included
        QString key;
        quint32 instance = 0;
        quint64 cellCount = 0;
        quint64 fingerprint = 0; ///< CellChecksum::ofMaterials of the recorded cells
        bool lost = false;       ///< damaged by a failed compaction: restores nothing
    };
    typedef boost::shared_ptr<Record> RecordPtr;

    /// The state files may grow to this many bytes together before old history goes.
    static constexpr qint64 defaultSizeLimit = qint64(2) << 30;

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

    /// The record of the volume's current cells: a kept record that holds exactly these cells,
    /// or else a new record appended to the file under key and instance (the volume's cell
    /// lock held while it is read). Null on failure, with the file cut back and error saying
    /// why.
    RecordPtr recordCells(const QString &fileName, const QString &key, quint32 instance,
                          Model::Automaton::TotalVolume &volume, QString *error = nullptr);
    /// Appends the volume's current cells as a new record, whatever is kept already.
    RecordPtr appendRecord(const QString &fileName, const QString &key, quint32 instance,
                           Model::Automaton::TotalVolume &volume, QString *error = nullptr);
    /// The volume now holds exactly the cells of record (it was just loaded from it).
    void noteVolumeHolds(quint32 volumeId, const RecordPtr &record);

    /// Reads a record this store wrote; false when it is damaged or has another cell count.
    bool readRecord(const Record &record, quint64 count, std::vector<quint32> &values) const;
    /// Reads a record this store wrote a block of values at a time, handing each block to take
    /// (the index of its first value, the values, their number) in order; take may be empty.
    /// False when the record is damaged or has another cell count (take may then have had the
    /// blocks before the damage). Needs no memory in proportion to the record.
    bool readRecordInBlocks(
        const Record &record, quint64 count,
        const std::function<void(quint64 first, const quint32 *values, quint64 n)> &take) const;
    /// Reads the first complete record of key and instance with exactly count values, scanning
    /// the file line by line (records written by other means).
    bool readRecord(const QString &fileName, const QString &key, quint32 instance, quint64 count,
                    std::vector<quint32> &values) const;

    /// Bytes of both state files together.
    qint64 fileBytes() const;
    /// Bytes of the records someone still holds.
    qint64 liveBytes() const;
    qint64 sizeLimit() const { return limit; }
    void setSizeLimit(qint64 bytes) { limit = bytes; }
    /// Moves the records still held to the front of their files and cuts the files after
    /// them. False (with error) when a file could not be rewritten.
    bool compact(QString *error = nullptr);

private:
    /// appendRecord with the fingerprint of the volume's cells already known.
    RecordPtr writeRecord(const QString &fileName, const QString &key, quint32 instance,
                          Model::Automaton::TotalVolume &volume, quint64 fingerprint,
                          QString *error);

    QMap<quint32, ArchiverPtr> archivers;
    QString undoFile;
    QString redoFile;
    qint64 limit;
    /// Every record written, in writing order; expired ones are dead space.
    std::vector<boost::weak_ptr<Record>> records;
    /// Per volume id: the record whose cells the volume held when last written or loaded.
    QHash<quint32, boost::weak_ptr<Record>> lastRecord;
};

} // namespace Operations
} // namespace Core

#endif
