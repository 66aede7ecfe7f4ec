#include "Core/Operations/Photolithography/photolithography.h"
#include "Model/Automaton/totalvolume.h"

#include <QThread>
#include <QThreadPool>

#include <benchmark/benchmark.h>

#include <vector>

using Core::Operations::Photolithography;
using Model::Automaton::TotalVolume;

namespace {

const quint32 cellsX = 200, cellsY = 200, cellsZ = 100;

/// Silicon up to layer 60 with trenches, under 20 cells of positive resist poured on top.
const std::vector<quint32> &resistOnTrenches()
{
    static const std::vector<quint32> ids = [] {
        std::vector<quint32> v(size_t(cellsX) * cellsY * cellsZ);
        size_t i = 0;
        for (quint32 x = 0; x < cellsX; ++x)
            for (quint32 y = 0; y < cellsY; ++y)
                for (quint32 z = 0; z < cellsZ; ++z) {
                    const quint32 top = (x % 40 >= 15 && x % 40 < 25) ? 30 : 60;
                    v[i++] = z < top ? 1 : (z < 80 ? 11 : 0);
                }
        return v;
    }();
    return ids;
}

/// Lines and spaces 10 cells wide along x.
std::vector<bool> lineMask()
{
    std::vector<bool> bits(size_t(cellsX) * cellsY);
    for (quint32 x = 0; x < cellsX; ++x)
        for (quint32 y = 0; y < cellsY; ++y)
            bits[size_t(x) * cellsY + y] = (x / 10) % 2 == 0;
    return bits;
}

} // namespace

// range(0): thread count, 0 for all.
static void BM_Photolithography(benchmark::State &state)
{
    const int threads = state.range(0) == 0 ? QThread::idealThreadCount() : int(state.range(0));
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    const std::vector<bool> mask = lineMask();
    for (auto _ : state) {
        state.PauseTiming();
        TotalVolume::Ptr v = TotalVolume::create(cellsX, cellsY, cellsZ, 1, 1, 1, Util::Vector3D(),
                                                 resistOnTrenches());
        state.ResumeTiming();
        Photolithography worker(v.get(), 11, {}, 0, 0, mask, cellsX, cellsY);
        if (!worker.run())
            state.SkipWithError("worker failed");
    }
    state.SetItemsProcessed(state.iterations() * cellsX * cellsY * cellsZ);
}
BENCHMARK(BM_Photolithography)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
