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
    return store.appendRecord(store.undoFileName(), key, instance, volume, error);
}

bool TotalVolumeUndoRedoHelper::saveRedoState(Model::Automaton::TotalVolume &volume, QString *error)
{
    VolumeStateStore &store = workspace->getVolumeStates();
    return store.appendRecord(store.redoFileName(), key, instance, volume, error);
}

bool TotalVolumeUndoRedoHelper::loadState(const QString &fileName,
                                          Model::Automaton::TotalVolume &volume)
{
    QElapsedTimer timer;
    timer.start();
    const quint64 count = volume.getCellCount();
    std::vector<quint32> values;
    // Parsed completely before the cells are touched: a damaged record changes nothing.
    const bool found =
        workspace->getVolumeStates().readRecord(fileName, key, instance, count, values);
    if (found) {
        Model::Automaton::Voxel *cells = volume.lockCells();
        Model::Automaton::Voxel *next = volume.lockNextCells();
        for (quint64 i = 0; i < count; ++i) {
            cells[i].material = values[i];
            next[i].material = values[i];
        }
        volume.releaseNextCells();
        volume.releaseCells();
    }
    qDebug() << "Time to load: " << timer.elapsed() << " ms";
    return found;
}

bool TotalVolumeUndoRedoHelper::loadUndoState(Model::Automaton::TotalVolume &volume)
{
    const bool loaded = loadState(workspace->getVolumeStates().undoFileName(), volume);
    volume.getPainter().refresh();
    return loaded;
}

bool TotalVolumeUndoRedoHelper::loadRedoState(Model::Automaton::TotalVolume &volume)
{
    const bool loaded = loadState(workspace->getVolumeStates().redoFileName(), volume);
    volume.getPainter().refresh();
    return loaded;
}

} // namespace Operations
} // namespace Core
