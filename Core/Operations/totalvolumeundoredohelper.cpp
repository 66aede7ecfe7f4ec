#include "Core/Operations/totalvolumeundoredohelper.h"

#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"
#include "Util/progress.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <new>
#include <vector>

namespace Core {
namespace Operations {

quint32 TotalVolumeUndoRedoHelper::nextInstance(const QString &key)
{
    static QMutex mutex;
    static QHash<QString, quint32> counters;
    QMutexLocker locker(&mutex);
    return counters[key]++;
}

TotalVolumeUndoRedoHelper::TotalVolumeUndoRedoHelper(const QString &key, Workspace *workspace)
    : key(key), instance(nextInstance(key)), workspace(workspace)
{}

TotalVolumeUndoRedoHelper::TotalVolumeUndoRedoHelper(const QString &key, quint32 instance,
                                                     Workspace *workspace)
    : key(key), instance(instance), workspace(workspace)
{}

bool TotalVolumeUndoRedoHelper::saveUndoState(Model::Automaton::TotalVolume &volume, QString *error)
{
    VolumeStateStore &store = workspace->getVolumeStates();
    undoRecord = store.recordCells(store.undoFileName(), key, instance, volume, error);
    return bool(undoRecord);
}

bool TotalVolumeUndoRedoHelper::saveRedoState(Model::Automaton::TotalVolume &volume, QString *error)
{
    VolumeStateStore &store = workspace->getVolumeStates();
    redoRecord = store.recordCells(store.redoFileName(), key, instance, volume, error);
    return bool(redoRecord);
}

bool TotalVolumeUndoRedoHelper::loadState(const QString &fileName,
                                          Model::Automaton::TotalVolume &volume,
                                          bool *siliconChanged)
{
    QElapsedTimer timer;
    timer.start();
    VolumeStateStore &store = workspace->getVolumeStates();
    const VolumeStateStore::RecordPtr record = fileName == store.undoFileName()   ? undoRecord
                                               : fileName == store.redoFileName() ? redoRecord
                                                                                  : nullptr;
    bool found = false;
    bool flipped = false;
    // Reading back a large volume takes seconds: it runs as a step, so the window goes on
    // drawing and shows a progress window meanwhile. The crystal is marked stale afterwards,
    // on this thread, since a crystal on view is rebuilt and drawn at once.
    Util::Progress progress;
    const std::string name = fileName == store.redoFileName() ? "Redo" : "Undo";
    workspace->runStep(name, progress, false,
                       [&]() { found = readInto(store, record, fileName, volume, flipped); });
    if (flipped)
        workspace->markLatticeStale(volume);
    if (siliconChanged)
        *siliconChanged = flipped;
    qDebug() << "Time to load: " << timer.elapsed() << " ms";
    return found;
}

bool TotalVolumeUndoRedoHelper::readInto(VolumeStateStore &store,
                                         const VolumeStateStore::RecordPtr &record,
                                         const QString &fileName,
                                         Model::Automaton::TotalVolume &volume, bool &flipped)
{
    const quint64 count = volume.getCellCount();
    std::vector<quint32> values;
    bool found = false;
    bool inBlocks = false;
    try {
        // Parsed completely before the cells are touched: a damaged record changes nothing.
        found = record ? store.readRecord(*record, count, values)
                       : store.readRecord(fileName, key, instance, count, values);
    } catch (const std::bad_alloc &) {
        // No room for a copy of the cells (an undo of a huge volume, or the recovery of a step
        // that ran out of memory): the record is checked in a first reading and written into
        // the cells in a second, a block at a time.
        std::vector<quint32>().swap(values);
        try {
            inBlocks = found = record && store.readRecordInBlocks(*record, count, nullptr);
        } catch (const std::bad_alloc &) {
            found = false;
        }
    }
    if (found) {
        // Silicon is material 1: a cell that gains or loses it makes the crystal stale.
        const quint32 silicon = 1;
        Model::Automaton::Voxel *cells = volume.lockCells();
        Model::Automaton::Voxel *next = volume.lockNextCells();
        const auto write = [&](quint64 first, const quint32 *from, quint64 n) {
            Model::Automaton::Voxel *c = cells + first;
            Model::Automaton::Voxel *d = next + first;
            for (quint64 i = 0; i < n; ++i) {
                flipped |= (c[i].material == silicon) != (from[i] == silicon);
                c[i].material = from[i];
                d[i].material = from[i];
            }
        };
        if (inBlocks) {
            try {
                found = store.readRecordInBlocks(*record, count, write);
            } catch (const std::bad_alloc &) {
                found = false;
            }
            if (!found)
                qWarning() << "The record" << key << instance << "could not be read again";
        } else {
            write(0, values.data(), count);
        }
        volume.releaseNextCells();
        volume.releaseCells();
        if (record && found)
            store.noteVolumeHolds(volume.getId(), record);
    }
    return found;
}

bool TotalVolumeUndoRedoHelper::loadUndoState(Model::Automaton::TotalVolume &volume,
                                              bool *siliconChanged)
{
    const bool loaded =
        loadState(workspace->getVolumeStates().undoFileName(), volume, siliconChanged);
    volume.getPainter().refresh();
    return loaded;
}

bool TotalVolumeUndoRedoHelper::loadRedoState(Model::Automaton::TotalVolume &volume,
                                              bool *siliconChanged)
{
    const bool loaded =
        loadState(workspace->getVolumeStates().redoFileName(), volume, siliconChanged);
    volume.getPainter().refresh();
    return loaded;
}

} // namespace Operations
} // namespace Core
