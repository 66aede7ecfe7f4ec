#include "Core/Operations/documentfile.h"
#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Materials/materialfactory.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "trenchvolume.h"

using Core::Operations::DocumentFile;
using Core::Operations::Workspace;
using Model::Automaton::TotalVolume;

namespace {

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
    workspace.getDocument().addObject(makeTrenchVolume());
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
        workspace.getDocument().addObject(makeTrenchVolume());
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
