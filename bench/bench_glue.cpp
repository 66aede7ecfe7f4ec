#include "Core/Operations/Glue/filmextraction.h"
#include "Core/Operations/Glue/gluesubstrate.h"
#include "Model/Automaton/totalvolume.h"

#include <QLoggingCategory>
#include <QThread>
#include <QThreadPool>
#include <benchmark/benchmark.h>

using Core::Operations::FilmExtraction;
using Core::Operations::GlueSubstrate;
using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace {

/// A 200 x 200 x 100 volume: silicon below z = 40, a 10-layer film of material 16 above it
/// with a trench every 40 cells along x, empty above z = 50.
TotalVolume::Ptr wafer()
{
    TotalVolume::Ptr v = TotalVolume::createFilled(200, 200, 100, 1, 1, 1, Util::Vector3D(), 0);
    Voxel *cells = v->lockCells();
    Voxel *next = v->lockNextCells();
    for (quint64 i = 0; i < v->getCellCount(); ++i) {
        quint32 x, y, z;
        v->getCellCoordinates(i, x, y, z);
        const quint32 id = z < 40 ? 1 : (z < 50 && x % 40 >= 5 ? 16 : 0);
        cells[i].material = next[i].material = id;
    }
    v->releaseNextCells();
    v->releaseCells();
    return v;
}

int useThreads(benchmark::State &state)
{
    const int threads = state.range(0) == 0 ? QThread::idealThreadCount() : int(state.range(0));
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    state.counters["threads"] = threads;
    return threads;
}

} // namespace

// One wafer glued onto another, the glued volume 200 x 200 x 110.
static void BM_Glue(benchmark::State &state)
{
    useThreads(state);
    const TotalVolume::Ptr base = wafer();
    const TotalVolume::Ptr top = wafer();
    for (auto _ : state) {
        GlueSubstrate glue(base.get(), top.get());
        glue.setSize(200, 200, 110);
        glue.setInvertTop(true);
        if (!glue.run())
            state.SkipWithError("glue failed");
    }
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 110);
}

// The film of one wafer (about 350 000 cells) lifted into a volume of its own.
static void BM_ExtractFilm(benchmark::State &state)
{
    const TotalVolume::Ptr source = wafer();
    for (auto _ : state) {
        if (!FilmExtraction(source.get(), 16, true).run())
            state.SkipWithError("extraction failed");
    }
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 100);
}

// Argument: thread count, 1 or 0 for all of the machine's threads.
BENCHMARK(BM_Glue)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExtractFilm)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    // The workers' diagnostics would drown the table.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
