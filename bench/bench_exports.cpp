#include "Model/Automaton/totalvolume.h"
#include "Model/Persistence/stlwriter.h"
#include "Model/Persistence/vtiwriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "trenchvolume.h"

using Model::Automaton::TotalVolume;
using Model::Persistence::StlWriter;
using Model::Persistence::VtiWriter;

static void BM_ExportVti(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("bench.vti"));
    TotalVolume::Ptr volume = makeTrenchVolume();
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
    TotalVolume::Ptr volume = makeTrenchVolume();
    QString error;
    const QList<quint32> materials = StlWriter::materialsIn(*volume);
    for (auto _ : state)
        StlWriter::write(*volume, path, materials, 1.0, &error);
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 100);
}
BENCHMARK(BM_ExportStl)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
