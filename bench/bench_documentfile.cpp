#include "Core/Operations/documentfile.h"
#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Materials/materialfactory.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using Core::Operations::DocumentFile;
using Core::Operations::Workspace;
using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

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

struct Fixture
{
    Fixture()
    {
        qputenv("HOME", dir.path().toLocal8Bit());
        QDir::setCurrent(dir.path());
        Model::Materials::MaterialFactory::instance();
        path = QDir(dir.path()).filePath(QStringLiteral("bench.clv"));
    }
    QTemporaryDir dir;
    QString path;
};

} // namespace

static void BM_SaveDocument(benchmark::State &state)
{
    Fixture fixture;
    Workspace workspace;
    workspace.getDocument().addObject(makeVolume());
    for (auto _ : state)
        DocumentFile::writeDocument(fixture.path, workspace);
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 100);
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

static void BM_OpenDocument(benchmark::State &state)
{
    Fixture fixture;
    {
        Workspace workspace;
        workspace.getDocument().addObject(makeVolume());
        DocumentFile::writeDocument(fixture.path, workspace);
    }
    for (auto _ : state) {
        Workspace workspace;
        DocumentFile::readDocument(fixture.path, workspace);
        benchmark::DoNotOptimize(workspace.getDocument().getObjects().size());
    }
    state.SetItemsProcessed(state.iterations() * 200 * 200 * 100);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
