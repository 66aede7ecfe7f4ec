#include "Core/Operations/SiEtching/atomicstructuresimplesiwetetch.h"
#include "Core/Operations/SiEtching/continuoswetetching.h"
#include "Model/Automaton/totalvolume.h"

#include <QFile>
#include <QLoggingCategory>
#include <QThread>
#include <QThreadPool>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <vector>

using Core::Operations::AtomicStructureSimpleSiWetEtch;
using Core::Operations::ContinuosWetEtching;
using Model::Automaton::TotalVolume;

namespace {

const quint32 cellsX = 200;
const quint32 cellsY = 200;
const quint32 cellsZ = 100;
const quint32 siliconTop = 92;
const quint32 maskCells = 4;

/// A (100) wafer of 200 x 200 x 100 cells: silicon below z = 92, an oxide mask 4 cells thick
/// with an opening of 100 x 100 cells in the middle, empty space above.
TotalVolume::Ptr maskedWafer()
{
    std::vector<quint32> ids(size_t(cellsX) * cellsY * cellsZ);
    size_t i = 0;
    for (quint32 x = 0; x < cellsX; ++x)
        for (quint32 y = 0; y < cellsY; ++y)
            for (quint32 z = 0; z < cellsZ; ++z) {
                const bool opening = x >= 50 && x < 150 && y >= 50 && y < 150;
                ids[i++] = z < siliconTop ? 1 : z < siliconTop + maskCells && !opening ? 3 : 0;
            }
    return TotalVolume::create(cellsX, cellsY, cellsZ, 1, 1, 1, Util::Vector3D(), ids);
}

/// Resident memory of the process in bytes.
double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) : 0.0;
}

/// Builds the crystal of the masked wafer: time, atoms and resident bytes per atom.
void BM_SiLatticeBuild(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        TotalVolume::Ptr volume = maskedWafer();
        const double before = residentBytes();
        state.ResumeTiming();
        volume->rebuildSiLattice();
        state.PauseTiming();
        const double atoms = double(volume->getSiLattice()->getAtomCount());
        state.counters["atoms"] = atoms;
        state.counters["bytes_per_atom"] = (residentBytes() - before) / atoms;
        volume.reset();
        state.ResumeTiming();
    }
}

/// Etches the masked wafer 20 units (80 steps) with Engine; range(0) is the thread count (0:
/// all). Reports the time to find the surface (a walk over all atoms), the time of the steps,
/// and the surface atoms judged per second of steps.
template <class Engine> void etchWafer(benchmark::State &state)
{
    const int threads = state.range(0) == 0 ? QThread::idealThreadCount() : int(state.range(0));
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    for (auto _ : state) {
        state.PauseTiming();
        TotalVolume::Ptr volume = maskedWafer();
        volume->rebuildSiLattice();
        state.ResumeTiming();
        Engine etch(volume.get(), 20.0);
        if (!etch.runEtching())
            state.SkipWithError("etch failed");
        state.PauseTiming();
        const double steps = double(etch.getStepNanoseconds()) * 1e-9;
        state.counters["surface_s"] = double(etch.getInitializationNanoseconds()) * 1e-9;
        state.counters["steps_s"] = steps;
        state.counters["visits"] = double(etch.getSurfaceVisits());
        state.counters["visits_per_s"] = double(etch.getSurfaceVisits()) / steps;
        volume.reset();
        state.ResumeTiming();
    }
}

/// The bond-counting etch.
void BM_SiWetEtch20(benchmark::State &state)
{
    etchWafer<AtomicStructureSimpleSiWetEtch>(state);
}

/// The continuous cellular-automaton etch: every surface atom is classified through its first
/// and second neighbours each step.
void BM_ContinuousWetEtch20(benchmark::State &state)
{
    etchWafer<ContinuosWetEtching>(state);
}

} // namespace

BENCHMARK(BM_SiLatticeBuild)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SiWetEtch20)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(BM_ContinuousWetEtch20)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char **argv)
{
    // The etch logs every step of every slab; the figures are what counts here (CELVANE_DEBUG
    // shows the log).
    if (qEnvironmentVariableIsEmpty("CELVANE_DEBUG"))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
