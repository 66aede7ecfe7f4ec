#include "Model/Automaton/volumemetrology.h"

#include <benchmark/benchmark.h>

#include <vector>

using Model::Automaton::TotalVolume;
using Model::Automaton::VolumeMetrology;

namespace {

/// 4 million cells: silicon below z = 50, oxide at z = 50..59 with a trench every 20 cells of x.
TotalVolume::Ptr stack()
{
    const quint32 cx = 200, cy = 200, cz = 100;
    std::vector<quint32> ids(size_t(cx) * cy * cz);
    size_t i = 0;
    for (quint32 x = 0; x < cx; ++x)
        for (quint32 y = 0; y < cy; ++y)
            for (quint32 z = 0; z < cz; ++z)
                ids[i++] = z < 50 ? 1 : z < 60 && x % 20 >= 5 ? 3 : 0;
    return TotalVolume::create(cx, cy, cz, 1, 1, 1, Util::Vector3D(), ids);
}

} // namespace

static void BM_MaterialAmounts(benchmark::State &state)
{
    TotalVolume::Ptr v = stack();
    for (auto _ : state)
        benchmark::DoNotOptimize(VolumeMetrology(*v).materialAmounts());
    state.SetItemsProcessed(state.iterations() * qint64(v->getCellCount()));
}
BENCHMARK(BM_MaterialAmounts)->Unit(benchmark::kMillisecond);

static void BM_TopSurface(benchmark::State &state)
{
    TotalVolume::Ptr v = stack();
    for (auto _ : state)
        benchmark::DoNotOptimize(VolumeMetrology(*v).topSurface());
    state.SetItemsProcessed(state.iterations() * qint64(v->getCellCount()));
}
BENCHMARK(BM_TopSurface)->Unit(benchmark::kMillisecond);

// One layer, both axes: the cells of the layer are read twice.
static void BM_Openings(benchmark::State &state)
{
    TotalVolume::Ptr v = stack();
    VolumeMetrology m(*v);
    for (auto _ : state) {
        benchmark::DoNotOptimize(m.openingsAlongX(3, 55));
        benchmark::DoNotOptimize(m.openingsAlongY(3, 55));
    }
    state.SetItemsProcessed(state.iterations() * 2 * 200 * 200);
}
BENCHMARK(BM_Openings)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
