#include "Model/Automaton/totalvolume.h"
#include "Model/Persistence/stlwriter.h"
#include "Model/Persistence/vtiwriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;
using Model::Persistence::StlWriter;
using Model::Persistence::VtiWriter;

namespace {

// A 200 x 200 x 100 silicon substrate with oxide on top and empty trenches.
TotalVolume::Ptr makeVolume()
{
    TotalVolume::Ptr v = TotalVolume::createFilled(200, 200, 100, 1, 1, 1, Util::Vector3D(), 0);
    Voxel *cells = v->lockCells();
    for (quint32 x = 0; x < 200; ++x)
        for (quint32 y = 0; y < 200; ++y)
            for (quint32 z = 0; z < 60; ++z) {
                const bool trench = (x / 20) % 2 == 1 && z >= 40;
                cells[v->getCellIndex(x, y, z)].material = trench ? 0 : (z < 50 ? 1 : 3);
            }
    v->releaseCells();
    return v;
}

} // namespace

static void BM_ExportVti(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("bench.vti"));
    TotalVolume::Ptr volume = makeVolume();
    QString error;
    for (auto _ : state)
        VtiWriter::write(*volume, path, &error);
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 100);
}
BENCHMARK(BM_ExportVti)->Unit(benchmark::kMillisecond);

static void BM_ExportStl(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("bench.stl"));
    TotalVolume::Ptr volume = makeVolume();
    QString error;
    const QList<quint32> materials = StlWriter::materialsIn(*volume);
    for (auto _ : state)
        StlWriter::write(*volume, path, materials, 1.0, &error);
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 100);
}
BENCHMARK(BM_ExportStl)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
