#include "Model/Automaton/totalvolume.h"
#include "Model/ModelExtraction/cantilevermodelrule.h"
#include "Model/ModelExtraction/envelopedecomposition.h"

#include <benchmark/benchmark.h>

#include <vector>

using Model::Automaton::TotalVolume;
using Model::ModelExtraction::CantileverModelRule;
using Model::ModelExtraction::EnvelopeDecomposition;
using Model::ModelExtraction::ExtractedModel;

namespace {

const quint32 cellsX = 200, cellsY = 200, cellsZ = 100;

/// Silicon 40 thick carrying 2 x 2 poly-Si pillars on a pitch of 4, 20 high, and a beam layer
/// across every tenth row: cut planes every two cells along x and y, about 15,000 filled boxes.
TotalVolume::Ptr pillarField()
{
    std::vector<quint32> ids(size_t(cellsX) * cellsY * cellsZ);
    size_t i = 0;
    for (quint32 x = 0; x < cellsX; ++x)
        for (quint32 y = 0; y < cellsY; ++y)
            for (quint32 z = 0; z < cellsZ; ++z) {
                quint32 m = 0;
                if (z < 40)
                    m = 1;
                else if (z < 60 && x % 4 < 2 && y % 4 < 2)
                    m = 16;
                else if (z >= 60 && z < 62 && y % 10 < 2)
                    m = 4;
                ids[i++] = m;
            }
    return TotalVolume::create(cellsX, cellsY, cellsZ, 1, 1, 1, Util::Vector3D(), ids);
}

} // namespace

static void BM_DecomposeAndLink(benchmark::State &state)
{
    TotalVolume::Ptr v = pillarField();
    qint64 boxes = 0;
    for (auto _ : state) {
        const EnvelopeDecomposition::EnvelopeList list = EnvelopeDecomposition::decompose(*v);
        EnvelopeDecomposition::link(list);
        boxes = list.size();
        benchmark::DoNotOptimize(boxes);
    }
    state.counters["boxes"] = double(boxes);
    state.counters["cells/s"] = benchmark::Counter(double(v->getCellCount()) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecomposeAndLink)->Unit(benchmark::kMillisecond);

static void BM_CantileverRule(benchmark::State &state)
{
    TotalVolume::Ptr v = pillarField();
    const EnvelopeDecomposition::EnvelopeList list = EnvelopeDecomposition::decompose(*v);
    EnvelopeDecomposition::link(list);
    const ExtractedModel model(list);
    for (auto _ : state) {
        CantileverModelRule rule;
        benchmark::DoNotOptimize(rule.apply(model));
    }
}
BENCHMARK(BM_CantileverRule)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
