#include "Core/Operations/Anisotropic/anisotropicfilmdeposition.h"
#include "Core/Operations/Doping/simpledoping.h"
#include "Core/Operations/Electrodeposition/electrodeposition.h"
#include "Core/Operations/Isotropic/isotropicfilmdeposition.h"
#include "Core/Operations/Isotropic/isotropicfilmetching.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhooddeposition.h"
#include "Core/Operations/Planarization/planarization.h"
#include "Core/Operations/Planarization/spincoating.h"
#include "Core/Operations/ReactiveIonEtching/simplereactiveionetching.h"
#include "Core/Operations/SiOxidation/simplesioxidation.h"
#include "Core/Operations/cellneighborhood.h"
#include "Core/Operations/striprunner.h"
#include "Model/Automaton/totalvolume.h"
#include "bench/pillarvolume.h"

#include <QLoggingCategory>
#include <QThread>
#include <QThreadPool>

#include <benchmark/benchmark.h>

#include <functional>
#include <vector>

using Model::Automaton::TotalVolume;
using namespace Core::Operations;

namespace {

const quint32 cellsX = 200;
const quint32 cellsY = 200;
const quint32 cellsZ = 100;

/// A 200 x 200 x 100 volume: silicon up to layer 60, cut by trenches 10 cells wide along y
/// (30 deep, every 40 cells in x) and along x (20 deep, every 50 cells in y).
const std::vector<quint32> &trenchedSilicon()
{
    static const std::vector<quint32> ids = [] {
        std::vector<quint32> v(size_t(cellsX) * cellsY * cellsZ);
        size_t i = 0;
        for (quint32 x = 0; x < cellsX; ++x)
            for (quint32 y = 0; y < cellsY; ++y)
                for (quint32 z = 0; z < cellsZ; ++z) {
                    quint32 top = 60;
                    if (x % 40 >= 15 && x % 40 < 25)
                        top = 30;
                    else if (y % 50 >= 20 && y % 50 < 30)
                        top = 40;
                    v[i++] = z < top ? 1 : 0;
                }
        return v;
    }();
    return ids;
}

/// The pillar volume's materials (bench/pillarvolume.h), in cell-index order.
const std::vector<quint32> &pillars()
{
    static const std::vector<quint32> ids = [] {
        std::vector<quint32> v;
        v.reserve(size_t(PillarVolume::cellsX) * PillarVolume::cellsY * PillarVolume::cellsZ);
        for (quint32 x = 0; x < PillarVolume::cellsX; ++x)
            for (quint32 y = 0; y < PillarVolume::cellsY; ++y)
                for (quint32 z = 0; z < PillarVolume::cellsZ; ++z)
                    v.push_back(PillarVolume::material(x, y, z));
        return v;
    }();
    return ids;
}

int threadsOf(const benchmark::State &state)
{
    return state.range(0) == 0 ? QThread::idealThreadCount() : int(state.range(0));
}

/// Times one run of a worker on a fresh volume; range(0) is the thread count (0: all).
void runOnFreshVolume(benchmark::State &state, const std::function<bool(TotalVolume *)> &run,
                      const std::vector<quint32> &ids = trenchedSilicon())
{
    const int threads = threadsOf(state);
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    for (auto _ : state) {
        state.PauseTiming();
        TotalVolume::Ptr v =
            TotalVolume::create(cellsX, cellsY, cellsZ, 1, 1, 1, Util::Vector3D(), ids);
        state.ResumeTiming();
        if (!v || !run(v.get()))
            state.SkipWithError("worker failed");
        state.PauseTiming();
        v.reset();
        state.ResumeTiming();
    }
    state.counters["threads"] = threads;
    state.SetItemsProcessed(state.iterations() * qint64(cellsX) * cellsY * cellsZ);
}

void BM_IsotropicDeposition10(benchmark::State &state)
{
    runOnFreshVolume(
        state, [](TotalVolume *v) { return IsotropicFilmDeposition(v, 2, 10.0f).runDeposition(); });
}

void BM_IsotropicEtching10(benchmark::State &state)
{
    runOnFreshVolume(state,
                     [](TotalVolume *v) { return IsotropicFilmEtching(v, 1, 10.0f).runEtching(); });
}

void BM_MooreDeposition10(benchmark::State &state)
{
    runOnFreshVolume(state, [](TotalVolume *v) {
        return MooreNeighborhoodDeposition(v, 2, 10).runDeposition();
    });
}

void BM_ReactiveIonEtching20(benchmark::State &state)
{
    runOnFreshVolume(state, [](TotalVolume *v) {
        return SimpleReactiveIonEtching(v, 1, 20, SimpleReactiveIonEtching::FromTop).runEtching();
    });
}

void BM_Planarization(benchmark::State &state)
{
    runOnFreshVolume(state,
                     [](TotalVolume *v) { return Planarization(v, 50, 10).runPlanarization(); });
}

void BM_SpinCoating(benchmark::State &state)
{
    runOnFreshVolume(state, [](TotalVolume *v) { return SpinCoating(v, 5, 50).runSpinCoating(); });
}

// The catalogue's sets, given explicitly: a benchmark does not read the user's catalogue files.
const MaterialSet siliconLike(QList<quint32>{1, 14, 15, 16});

void BM_Oxidation10(benchmark::State &state)
{
    runOnFreshVolume(state, [](TotalVolume *v) {
        return SimpleSiOxidation(v, 1.0, siliconLike).growOxide(10.0);
    });
}

void BM_Doping10(benchmark::State &state)
{
    runOnFreshVolume(
        state, [](TotalVolume *v) { return SimpleDoping(v, 14, 10.0f, siliconLike).runDoping(); });
}

void BM_AnisotropicDeposition10(benchmark::State &state)
{
    runOnFreshVolume(state, [](TotalVolume *v) {
        return AnisotropicFilmDeposition(v, 4, 10.0f, 0.5f, AnisotropicFilmDeposition::OnTop)
            .runDeposition();
    });
}

void BM_Electroplating10(benchmark::State &state)
{
    // The trenched silicon is the conductor.
    runOnFreshVolume(
        state, [](TotalVolume *v) { return Electrodeposition(v, 9, 1, 10.0f).runDeposition(); });
}

// The yardstick of the film workers: the pillar volume, compared with one plain pass over it
// and with scipy's distance transforms (bench/filmtransforms.py).
void BM_PillarsIsotropicDeposition10(benchmark::State &state)
{
    runOnFreshVolume(
        state, [](TotalVolume *v) { return IsotropicFilmDeposition(v, 2, 10.0f).runDeposition(); },
        pillars());
}

void BM_PillarsMooreDeposition10(benchmark::State &state)
{
    runOnFreshVolume(
        state, [](TotalVolume *v) { return MooreNeighborhoodDeposition(v, 2, 10).runDeposition(); },
        pillars());
}

/// A pass that reads every cell of the pillar volume and its 26 neighbours once, in strips:
/// what any worker that looks at the whole volume costs at the least.
void BM_PillarsMoorePlainPass(benchmark::State &state)
{
    const int threads = threadsOf(state);
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    TotalVolume::Ptr v =
        TotalVolume::create(cellsX, cellsY, cellsZ, 1, 1, 1, Util::Vector3D(), pillars());
    const CellNeighborhood nb(cellsX, cellsY, cellsZ);
    const StripRunner runner(cellsX, 2);
    std::vector<quint64> counts(size_t(runner.getStripCount()));
    for (auto _ : state) {
        const Model::Automaton::Voxel *cells = v->lockCells();
        runner.runPhase([&](int strip) {
            quint64 filled = 0;
            for (quint32 x = runner.getFirstX(strip); x < runner.getEndX(strip); ++x)
                for (quint32 y = 0; y < cellsY; ++y)
                    for (quint32 z = 0; z < cellsZ; ++z)
                        nb.forEachMooreNeighbor(nb.index(x, y, z), x, y, z,
                                                [&](CellNeighborhood::CellIndex j, quint32) {
                                                    filled += cells[j].material != 0;
                                                });
            counts[size_t(strip)] = filled;
        });
        v->releaseCells();
        benchmark::DoNotOptimize(counts.data());
    }
    state.counters["threads"] = threads;
    state.SetItemsProcessed(state.iterations() * qint64(cellsX) * cellsY * cellsZ);
}

} // namespace

// Argument: thread count, 1 or 0 for all of the machine's threads.
BENCHMARK(BM_PillarsIsotropicDeposition10)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PillarsMooreDeposition10)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PillarsMoorePlainPass)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IsotropicDeposition10)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IsotropicEtching10)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MooreDeposition10)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReactiveIonEtching20)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Planarization)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SpinCoating)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Oxidation10)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Doping10)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AnisotropicDeposition10)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Electroplating10)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

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
