#include "Core/Operations/totalvolumeundoredohelper.h"
#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using Core::Operations::TotalVolumeUndoRedoHelper;
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

static void BM_SaveState(benchmark::State &state)
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    Workspace workspace;
    TotalVolume::Ptr v = makeVolume();
    quint32 instance = 0;
    for (auto _ : state) {
        TotalVolumeUndoRedoHelper helper(QStringLiteral("Bench"), instance++, &workspace);
        helper.saveUndoState(*v);
    }
}
BENCHMARK(BM_SaveState)->Unit(benchmark::kMillisecond);

// One undo and one redo of an operation among several recorded ones.
static void BM_UndoRedo(benchmark::State &state)
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    Workspace workspace;
    TotalVolume::Ptr v = makeVolume();
    for (quint32 i = 0; i < 3; ++i) {
        TotalVolumeUndoRedoHelper other(QStringLiteral("Bench"), i, &workspace);
        other.saveUndoState(*v);
        other.saveRedoState(*v);
    }
    TotalVolumeUndoRedoHelper helper(QStringLiteral("Bench"), 1, &workspace);
    for (auto _ : state) {
        helper.loadUndoState(*v);
        helper.loadRedoState(*v);
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
