#include "Core/Operations/totalvolumeundoredohelper.h"

#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

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
    const quint64 count = volume.getCellCount();
    const VolumeStateStore::RecordPtr record = fileName == store.undoFileName()   ? undoRecord
                                               : fileName == store.redoFileName() ? redoRecord
                                                                                  : nullptr;
    std::vector<quint32> values;
    // Parsed completely before the cells are touched: a damaged record changes nothing.
    const bool found = record ? store.readRecord(*record, count, values)
                              : store.readRecord(fileName, key, instance, count, values);
    bool flipped = false;
    if (found) {
        // Silicon is material 1: a cell that gains or loses it makes the crystal stale.
        const quint32 silicon = 1;
        Model::Automaton::Voxel *cells = volume.lockCells();
        Model::Automaton::Voxel *next = volume.lockNextCells();
        for (quint64 i = 0; i < count; ++i) {
            flipped |= (cells[i].material == silicon) != (values[i] == silicon);
            cells[i].material = values[i];
            next[i].material = values[i];
        }
        volume.releaseNextCells();
        volume.releaseCells();
        if (record)
            store.noteVolumeHolds(volume.getId(), record);
        // The crystal no longer matches the cells: the next atomistic etch rebuilds it.
        if (flipped)
            workspace->markLatticeStale(volume);
    }
    if (siliconChanged)
        *siliconChanged = flipped;
    qDebug() << "Time to load: " << timer.elapsed() << " ms";
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
