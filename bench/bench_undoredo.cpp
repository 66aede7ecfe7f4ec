#include "Core/Operations/totalvolumeundoredohelper.h"
#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using Core::Operations::TotalVolumeUndoRedoHelper;
using Core::Operations::VolumeStateStore;
using Core::Operations::Workspace;
using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace {

// A 200 x 200 x 100 silicon block with a film of another material on its top half.
TotalVolume::Ptr makeVolume()
{
    TotalVolume::Ptr v = TotalVolume::createFilled(200, 200, 100, 1, 1, 1, Util::Vector3D(), 1);
    Voxel *cells = v->lockCells();
    for (quint64 i = 0; i < v->getCellCount(); ++i)
        if (i % 100 >= 50)
            cells[i].material = (i % 7 == 0) ? 0 : 16;
    v->releaseCells();
    return v;
}

} // namespace

// Writing one record of the volume's cells.
static void BM_SaveState(benchmark::State &state)
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    Workspace workspace;
    TotalVolume::Ptr v = makeVolume();
    VolumeStateStore &store = workspace.getVolumeStates();
    quint32 instance = 0;
    for (auto _ : state)
        store.appendRecord(store.undoFileName(), QStringLiteral("Bench"), instance++, *v);
}
BENCHMARK(BM_SaveState)->Unit(benchmark::kMillisecond);

// A record written and read back: the cost of recording a step plus that of reloading it.
static void BM_WriteAndReadRecord(benchmark::State &state)
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    Workspace workspace;
    TotalVolume::Ptr v = makeVolume();
    VolumeStateStore &store = workspace.getVolumeStates();
    std::vector<quint32> values;
    quint32 instance = 0;
    for (auto _ : state) {
        const VolumeStateStore::RecordPtr record =
            store.appendRecord(store.redoFileName(), QStringLiteral("Bench"), instance++, *v);
        if (!record || !store.readRecord(*record, v->getCellCount(), values))
            state.SkipWithError("record lost");
    }
}
BENCHMARK(BM_WriteAndReadRecord)->Unit(benchmark::kMillisecond);

// Recording a volume that still holds the cells of a kept record: a fingerprint, no writing.
static void BM_SaveUnchangedState(benchmark::State &state)
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    Workspace workspace;
    TotalVolume::Ptr v = makeVolume();
    TotalVolumeUndoRedoHelper first(QStringLiteral("Bench"), 0, &workspace);
    first.saveRedoState(*v);
    quint32 instance = 1;
    for (auto _ : state) {
        TotalVolumeUndoRedoHelper helper(QStringLiteral("Bench"), instance++, &workspace);
        helper.saveUndoState(*v);
    }
}
BENCHMARK(BM_SaveUnchangedState)->Unit(benchmark::kMillisecond);

// One undo and one redo of an operation among several recorded ones, with the painter
// refreshes that follow them.
static void BM_UndoRedo(benchmark::State &state)
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    Workspace workspace;
    TotalVolume::Ptr v = makeVolume();
    std::vector<std::unique_ptr<TotalVolumeUndoRedoHelper>> steps;
    for (quint32 i = 0; i < 3; ++i) {
        steps.emplace_back(new TotalVolumeUndoRedoHelper(QStringLiteral("Bench"), i, &workspace));
        steps.back()->saveUndoState(*v);
        v->lockCells()[i].material = 5; // each step changes one cell
        v->releaseCells();
        steps.back()->saveRedoState(*v);
    }
    for (auto _ : state) {
        if (!steps[1]->loadUndoState(*v) || !steps[1]->loadRedoState(*v))
            state.SkipWithError("record lost");
    }
}
BENCHMARK(BM_UndoRedo)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
