#include "Core/Operations/Photolithography/layoutfile.h"
#include "Core/Operations/Photolithography/layoutmask.h"
#include "gdstestutil.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <vector>

using Core::Operations::LayoutMask;
using Element = LayoutMask::Element;

namespace {

/// A 1000 x 1000 grid under an array of 250 x 250 placements of a cell with a square, an L and
/// a bent path (187500 shapes), in database units of a nanometre and a micron per cell.
LayoutMask::Layout arrayLayout()
{
    LayoutMask::Layout layout;
    layout.userUnit = 0.001;
    LayoutMask::Cell unit{QStringLiteral("UNIT"), {}};
    Element square;
    square.layer = 1;
    square.xy = {0, 0, 0, 1000, 1000, 1000, 1000, 0};
    Element l = square;
    l.xy = {1500, 0, 3000, 0, 3000, 500, 2000, 500, 2000, 2000, 1500, 2000};
    Element path;
    path.kind = Element::Path;
    path.layer = 1;
    path.width = 400;
    path.xy = {0, 3000, 3000, 3000, 3000, 3800};
    unit.elements = {square, l, path};
    LayoutMask::Cell top{QStringLiteral("TOP"), {}};
    Element array;
    array.kind = Element::Reference;
    array.cell = 0;
    array.columns = array.rows = 250;
    array.xy = {0, 0, 1000000, 0, 0, 1000000};
    top.elements = {array};
    layout.cells = {unit, top};
    return layout;
}

} // namespace

static void BM_RasteriseLayoutArray(benchmark::State &state)
{
    const LayoutMask::Layout layout = arrayLayout();
    std::vector<bool> bits;
    for (auto _ : state) {
        LayoutMask::rasterise(layout, 1, 1, 1.0, 0.0, 0.0, 1000, 1000, bits);
        benchmark::DoNotOptimize(bits);
    }
    state.SetItemsProcessed(state.iterations() * 250 * 250 * 3);
}
BENCHMARK(BM_RasteriseLayoutArray)->Unit(benchmark::kMillisecond);

/// Reading a layout of 20000 squares through the reader process: start-up, the library's
/// reading and the parse of its output.
static void BM_ReadLayoutFile(benchmark::State &state)
{
    QTemporaryDir dir;
    Gds gds;
    gds.cell("TOP");
    for (int i = 0; i < 20000; ++i) {
        const double x = (i % 200) * 2.0, y = (i / 200) * 2.0;
        gds.boundary(1, {x, y, x + 1, y, x + 1, y + 1, x, y + 1});
    }
    const QString file = Gds::writeFile(dir, gds.endCell().bytes());
    Core::Operations::LayoutMask::Layout layout;
    for (auto _ : state) {
        if (Core::Operations::LayoutFile::read(file, layout) !=
            Core::Operations::LayoutFile::Loaded) {
            state.SkipWithError("the layout was not read");
            break;
        }
        benchmark::DoNotOptimize(layout);
    }
    state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_ReadLayoutFile)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
