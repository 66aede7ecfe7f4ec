#include "Model/Automaton/marchingcubesurface.h"
#include "Model/Automaton/octreesurface.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Automaton/totalvolumepainter.h"

#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>

#include <benchmark/benchmark.h>

using Model::Automaton::TotalVolume;
using Model::Automaton::TotalVolumePainter;

namespace {

const quint32 sizeX = 200, sizeY = 200, sizeZ = 100;
const quint32 silicon = 1;

/// A 200 x 200 x 100 volume: silicon up to z = 60, cut by trenches along y (4 cells wide,
/// 30 deep, every 20 columns) and along x (5 cells wide, 20 deep, every 25 rows).
TotalVolume::Ptr trenchedBlock()
{
    std::vector<quint32> ids(std::size_t(sizeX) * sizeY * sizeZ, 0);
    std::size_t i = 0;
    for (quint32 x = 0; x < sizeX; ++x)
        for (quint32 y = 0; y < sizeY; ++y)
            for (quint32 z = 0; z < sizeZ; ++z, ++i) {
                quint32 top = 60;
                if (x % 20 >= 8 && x % 20 < 12)
                    top = 30;
                else if (y % 25 >= 10 && y % 25 < 15)
                    top = 40;
                ids[i] = z < top ? silicon : 0;
            }
    return TotalVolume::create(sizeX, sizeY, sizeZ, 1, 1, 1, Util::Vector3D(), ids);
}

/// A 200 x 200 x 100 volume of two materials: silicon up to z = 50 under a thermal oxide
/// film 10 cells thick, patterned into 15 x 15 islands on a 25-cell pitch, with 5-cell-wide
/// trenches 20 deep etched into the silicon between every second row of islands.
TotalVolume::Ptr patternedTwoMaterials()
{
    const quint32 oxide = 3;
    std::vector<quint32> ids(std::size_t(sizeX) * sizeY * sizeZ, 0);
    std::size_t i = 0;
    for (quint32 x = 0; x < sizeX; ++x)
        for (quint32 y = 0; y < sizeY; ++y) {
            const bool island = x % 25 < 15 && y % 25 < 15;
            const bool trench = y % 50 >= 18 && y % 50 < 23;
            for (quint32 z = 0; z < sizeZ; ++z, ++i) {
                if (z < (trench ? 30u : 50u))
                    ids[i] = silicon;
                else if (island && z >= 50 && z < 60)
                    ids[i] = oxide;
            }
        }
    return TotalVolume::create(sizeX, sizeY, sizeZ, 1, 1, 1, Util::Vector3D(), ids);
}

/// Argument 0 means every thread of the machine.
void setThreads(benchmark::State &state)
{
    const int threads = state.range(0) > 0 ? int(state.range(0)) : QThread::idealThreadCount();
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    state.counters["threads"] = threads;
}

} // namespace

static void BM_RefreshTrenchedBlock(benchmark::State &state)
{
    setThreads(state);
    TotalVolume::Ptr v = trenchedBlock();
    TotalVolumePainter &painter = v->getPainter();
    for (auto _ : state) {
        painter.refresh();
        benchmark::DoNotOptimize(painter.getOpaqueFaces().data());
    }
    const double faces = double(painter.getOpaqueFaces().size());
    state.counters["faces"] = faces;
    state.counters["faceMB"] = faces * sizeof(Model::Geometry::QuadFace) / 1e6;
    state.SetItemsProcessed(state.iterations() * qint64(sizeX) * sizeY * sizeZ);
}
BENCHMARK(BM_RefreshTrenchedBlock)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_RefreshPatternedTwoMaterials(benchmark::State &state)
{
    setThreads(state);
    TotalVolume::Ptr v = patternedTwoMaterials();
    TotalVolumePainter &painter = v->getPainter();
    for (auto _ : state) {
        painter.refresh();
        benchmark::DoNotOptimize(painter.getOpaqueFaces().data());
    }
    state.counters["faces"] = double(painter.getOpaqueFaces().size());
    state.SetItemsProcessed(state.iterations() * qint64(sizeX) * sizeY * sizeZ);
}
BENCHMARK(BM_RefreshPatternedTwoMaterials)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

static void BM_RecolorTrenchedBlock(benchmark::State &state)
{
    TotalVolume::Ptr v = trenchedBlock();
    TotalVolumePainter &painter = v->getPainter();
    painter.refresh();
    bool selected = false;
    for (auto _ : state) {
        selected = !selected;
        v->setSelected(selected);
        painter.recolor();
    }
    state.counters["faces"] = double(painter.getOpaqueFaces().size());
}
BENCHMARK(BM_RecolorTrenchedBlock)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_MarchingCubesPatternedTwoMaterials(benchmark::State &state)
{
    setThreads(state);
    TotalVolume::Ptr v = patternedTwoMaterials();
    Model::Automaton::MarchingCubeSurface surface(v.get());
    const quint32 lower[3] = {0, 0, 0}, upper[3] = {sizeX, sizeY, sizeZ};
    for (auto _ : state)
        benchmark::DoNotOptimize(surface.rebuild(lower, upper));
    state.counters["triangles"] = double(surface.getTriangleCount());
    state.counters["triangleMB"] = double(surface.getMemoryBytes()) / 1e6;
    state.SetItemsProcessed(state.iterations() * qint64(sizeX) * sizeY * sizeZ);
}
BENCHMARK(BM_MarchingCubesPatternedTwoMaterials)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

/// The oxide islands' own surface, as a smooth export of a file per material builds it.
static void BM_MarchingCubesOxideAlone(benchmark::State &state)
{
    setThreads(state);
    TotalVolume::Ptr v = patternedTwoMaterials();
    Model::Automaton::MarchingCubeSurface surface(v.get());
    const quint32 lower[3] = {0, 0, 0}, upper[3] = {sizeX, sizeY, sizeZ};
    for (auto _ : state)
        benchmark::DoNotOptimize(surface.rebuild(lower, upper, 3));
    state.counters["triangles"] = double(surface.getTriangleCount());
    state.SetItemsProcessed(state.iterations() * qint64(sizeX) * sizeY * sizeZ);
}
BENCHMARK(BM_MarchingCubesOxideAlone)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_OctreePatternedTwoMaterials(benchmark::State &state)
{
    TotalVolume::Ptr v = patternedTwoMaterials();
    Model::Automaton::OctreeSurface octree(v.get());
    const quint32 lower[3] = {0, 0, 0}, upper[3] = {sizeX, sizeY, sizeZ};
    for (auto _ : state)
        benchmark::DoNotOptimize(octree.rebuild(lower, upper));
    v->getPainter().refresh();
    state.counters["faces"] =
        double(octree.getOpaqueFaces().size() + octree.getTranslucentFaces().size());
    state.counters["cubicFaces"] = double(v->getPainter().getOpaqueFaces().size() +
                                          v->getPainter().getTranslucentFaces().size());
    state.counters["nodes"] = double(octree.getNodeCount());
    state.counters["octreeMB"] = double(octree.getMemoryBytes()) / 1e6;
    state.SetItemsProcessed(state.iterations() * qint64(sizeX) * sizeY * sizeZ);
}
BENCHMARK(BM_OctreePatternedTwoMaterials)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    // The catalogue reads and writes ~/Celvane: keep the real one out of it.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", home.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "*.debug=false");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
