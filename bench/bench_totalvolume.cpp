#include "Core/Operations/cellchecksum.h"
#include "Model/Automaton/totalvolume.h"

#include <benchmark/benchmark.h>

using Model::Automaton::TotalVolume;

// The size the process benchmarks use: 4 million cells, two arrays.
static void BM_ConstructFilled(benchmark::State &state)
{
    for (auto _ : state) {
        TotalVolume::Ptr v = TotalVolume::createFilled(200, 200, 100, 1, 1, 1, Util::Vector3D(), 1);
        benchmark::DoNotOptimize(v.get());
    }
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 100);
}
BENCHMARK(BM_ConstructFilled)->Unit(benchmark::kMillisecond);

static void BM_ConstructFromMaterials(benchmark::State &state)
{
    std::vector<quint32> ids(200 * 200 * 100);
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = (i % 100) < 50 ? 1 : 0;
    for (auto _ : state) {
        TotalVolume::Ptr v = TotalVolume::create(200, 200, 100, 1, 1, 1, Util::Vector3D(), ids);
        benchmark::DoNotOptimize(v.get());
    }
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 100);
}
BENCHMARK(BM_ConstructFromMaterials)->Unit(benchmark::kMillisecond);

static void BM_Clone(benchmark::State &state)
{
    TotalVolume::Ptr v = TotalVolume::createFilled(200, 200, 100, 1, 1, 1, Util::Vector3D(), 1);
    for (auto _ : state) {
        TotalVolume::Ptr c = v->cloneVolume();
        benchmark::DoNotOptimize(c.get());
    }
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 100);
}
BENCHMARK(BM_Clone)->Unit(benchmark::kMillisecond);

// Every process step fingerprints its volume before and after the run.
static void BM_MaterialChecksum(benchmark::State &state)
{
    TotalVolume::Ptr v = TotalVolume::createFilled(200, 200, 100, 1, 1, 1, Util::Vector3D(), 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(Core::Operations::CellChecksum::ofMaterials(*v));
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 100);
}
BENCHMARK(BM_MaterialChecksum)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
