#ifndef CELVANE_CORE_OPERATIONS_TOTALVOLUMEUNDOREDOHELPER_H
#define CELVANE_CORE_OPERATIONS_TOTALVOLUMEUNDOREDOHELPER_H

#include "Core/Operations/volumestatestore.h"

#include <QString>
#include <QtGlobal>

namespace Model {
namespace Automaton {
class TotalVolume;
}
} // namespace Model

namespace Core {
namespace Operations {

class Workspace;

/// Undo and redo of a cell-volume process operation through the state files: the cells are
/// recorded before the operation changes them (undo file) and after (redo file), under the
/// operation's tag and instance number, and reloaded from there. A state the files already
/// hold (the volume unchanged since the previous step recorded it) is shared, not written
/// again; the records stay in the files as long as this helper lives.
class TotalVolumeUndoRedoHelper
{
public:
    /// Takes the next instance number of the tag. Instance numbers count per tag, not per
    /// class, so classes sharing a tag never read each other's records.
    TotalVolumeUndoRedoHelper(const QString &key, Workspace *workspace);
    TotalVolumeUndoRedoHelper(const QString &key, quint32 instance, Workspace *workspace);

    QString getKey() const { return key; }
    quint32 getInstance() const { return instance; }

    /// Records the cells as they are before the operation changes them.
    bool saveUndoState(Model::Automaton::TotalVolume &volume, QString *error = nullptr);
    /// Records the cells as the operation left them.
    bool saveRedoState(Model::Automaton::TotalVolume &volume, QString *error = nullptr);

    /// Loads this operation's record from the file into both cell arrays; false (cells
    /// untouched) when there is no complete record. When any cell became silicon or stopped
    /// being silicon, the volume's silicon crystal is marked stale (and siliconChanged, when
    /// given, says so).
    bool loadState(const QString &fileName, Model::Automaton::TotalVolume &volume,
                   bool *siliconChanged = nullptr);
    /// loadState from the undo file, then a painter refresh.
    bool loadUndoState(Model::Automaton::TotalVolume &volume, bool *siliconChanged = nullptr);
    /// loadState from the redo file, then a painter refresh.
    bool loadRedoState(Model::Automaton::TotalVolume &volume, bool *siliconChanged = nullptr);

    /// The next instance number of a tag for this run (starting at 0).
    static quint32 nextInstance(const QString &key);

private:
    /// The part of loadState that may run on a worker thread: reads the record and writes it
    /// into both cell arrays; flipped tells whether a cell gained or lost silicon.
    bool readInto(VolumeStateStore &store, const VolumeStateStore::RecordPtr &record,
                  const QString &fileName, Model::Automaton::TotalVolume &volume, bool &flipped);

    QString key;
    quint32 instance;
    Workspace *workspace;
    VolumeStateStore::RecordPtr undoRecord;
    VolumeStateStore::RecordPtr redoRecord;
};

} // namespace Operations
} // namespace Core

#endif
