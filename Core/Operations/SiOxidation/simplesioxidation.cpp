#include "Core/Operations/SiOxidation/simplesioxidation.h"

#include "Model/Automaton/totalvolume.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {

typedef CellNeighborhood::CellIndex CellIndex;

/// Squares a limit the way the thresholds are specified: the product in double precision,
/// rounded to float, squared as a float.
float squaredLimit(double factor, double thickness)
{
    const float limit = float(factor * thickness);
    return limit * limit;
}

float squaredLength(const float *d)
{
    return d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
}

struct OxidationRules : DistanceFrontRules
{
    OxidationRules(const MaterialSet &oxidizable, double thickness)
        : oxidizable(oxidizable), x(float(thickness)), intoSilicon(squaredLimit(0.44, thickness)),
          intoSpace(squaredLimit(0.56, thickness)), convertSilicon(squaredLimit(0.3, thickness)),
          convertSpace(squaredLimit(0.6, thickness))
    {}

    /// Bit planes of the last few layers of the volume, each column on whole 64-bit words,
    /// layer x in plane x % Ring: the initialization works out a layer's planes just ahead of
    /// writing its cells, so each cell comes from memory once and is still in the cache when it
    /// is written.
    struct LayerRing
    {
        static constexpr quint32 Ring = 5;
        LayerRing(quint32 cellsX, quint32 cellsY, quint32 words)
            : cellsX(cellsX), cellsY(cellsY), words(words), bits(size_t(Ring) * cellsY * words)
        {}
        quint64 *layer(quint32 x) { return &bits[size_t(x % Ring) * cellsY * words]; }
        /// Word w of column (x, y); 0 outside the volume. Layer x must be in the ring.
        quint64 word(qint64 x, qint64 y, quint32 w) const
        {
            if (x < 0 || x >= qint64(cellsX) || y < 0 || y >= qint64(cellsY))
                return 0;
            return bits[(size_t(x % Ring) * cellsY + size_t(y)) * words + w];
        }
        /// Word w of the cells whose face neighbours (not the cell itself) include a set cell.
        quint64 faceNeighbors(quint32 x, quint32 y, quint32 w) const
        {
            const quint64 v = word(x, y, w);
            quint64 r = (v << 1) | (v >> 1);
            if (w > 0)
                r |= word(x, y, w - 1) >> 63;
            if (w + 1 < words)
                r |= word(x, y, w + 1) << 63;
            return r | word(x, qint64(y) - 1, w) | word(x, qint64(y) + 1, w) |
                   word(qint64(x) - 1, y, w) | word(qint64(x) + 1, y, w);
        }

        quint32 cellsX, cellsY, words;
        std::vector<quint64> bits;
    };

    void initialize(DistanceFrontRun &run, StripFronts::Strip &strip, int)
    {
        const CellNeighborhood &nb = run.getNeighborhood();
        const Voxel *cells = run.cells();
        const quint32 cellsX = nb.getCellsX(), cellsY = nb.getCellsY(), cellsZ = nb.getCellsZ();
        const quint32 W = (cellsZ + 63) / 64;
        const quint32 firstX = strip.getFirstX(), endX = strip.getEndX();
        // Oxidizable and empty cells up to two layers ahead, surface cells (oxidizable ones
        // with an empty face neighbour) one layer ahead: word operations instead of up to 42
        // reads per cell.
        LayerRing oxidizableBits(cellsX, cellsY, W), emptyBits(cellsX, cellsY, W),
            surfaceBits(cellsX, cellsY, W);
        const auto readLayer = [&](quint32 lx) {
            quint64 *o = oxidizableBits.layer(lx);
            quint64 *e = emptyBits.layer(lx);
            for (quint32 y = 0; y < cellsY; ++y) {
                const Voxel *column = cells + nb.index(lx, y, 0);
                for (quint32 w = 0; w < W; ++w) {
                    quint64 ow = 0, ew = 0;
                    const quint32 first = w * 64, count = qMin(cellsZ - first, 64u);
                    for (quint32 b = 0; b < count; ++b) {
                        const quint32 m = column[first + b].material;
                        ow |= quint64(oxidizable.contains(m)) << b;
                        ew |= quint64(m == 0) << b;
                    }
                    o[size_t(y) * W + w] = ow;
                    e[size_t(y) * W + w] = ew;
                }
            }
        };
        const auto surfaceLayer = [&](quint32 lx) {
            quint64 *s = surfaceBits.layer(lx);
            for (quint32 y = 0; y < cellsY; ++y)
                for (quint32 w = 0; w < W; ++w)
                    s[size_t(y) * W + w] =
                        oxidizableBits.word(lx, y, w) & emptyBits.faceNeighbors(lx, y, w);
        };
        for (quint32 lx = qMax(firstX, 2u) - 2; lx < qMin(firstX + 2, cellsX); ++lx)
            readLayer(lx);
        for (quint32 lx = qMax(firstX, 1u) - 1; lx < qMin(firstX + 1, cellsX); ++lx)
            surfaceLayer(lx);
        for (quint32 lx = firstX; lx < endX; ++lx) {
            if (lx + 2 < cellsX)
                readLayer(lx + 2);
            if (lx + 1 < cellsX)
                surfaceLayer(lx + 1);
            for (quint32 y = 0; y < cellsY; ++y)
                for (quint32 w = 0; w < W; ++w) {
                    const quint64 empty = emptyBits.word(lx, y, w);
                    const quint64 oxidizableWord = oxidizableBits.word(lx, y, w);
                    // Blocks: never updated, and too far away to serve as a source. Empty
                    // cells join the first front next to oxidizable ones, filled ones next to
                    // the surface.
                    run.initializeWord(strip, lx, y, w, this->x, surfaceBits.word(lx, y, w),
                                       ~empty & ~oxidizableWord,
                                       (empty & oxidizableBits.faceNeighbors(lx, y, w)) |
                                           (~empty & surfaceBits.faceNeighbors(lx, y, w)));
                }
        }
    }

    bool changeable(const Voxel &cell) const { return !cell.fixed; }
    /// Oxide consumes less silicon than it adds in space.
    float limitSquared(const Voxel &cell) const
    {
        return cell.material != 0 ? intoSilicon : intoSpace;
    }
    /// The passes only carry distances; the conversion follows at the end.
    quint32 changedMaterial(const Voxel &cell) const { return cell.material; }

    bool passes(quint32 m) const
    {
        return m == 0 || m == SimpleSiOxidation::oxideMaterial || oxidizable.contains(m);
    }

    /// The conversion: each strip turns its own cells within the thresholds into oxide.
    bool finish(DistanceFrontRun &run)
    {
        return run.getRunner().runPhase([this, &run](int index) {
            const CellNeighborhood &nb = run.getNeighborhood();
            Voxel *cells = run.cells();
            Voxel *next = run.nextCells();
            const quint64 layer = quint64(nb.getCellsY()) * nb.getCellsZ();
            const CellIndex first = CellIndex(run.getRunner().getFirstX(index)) * layer;
            const CellIndex end = CellIndex(run.getRunner().getEndX(index)) * layer;
            for (CellIndex i = first; i < end; ++i) {
                Voxel &cell = cells[i];
                const float d2 = squaredLength(cell.distance);
                const bool converts =
                    cell.material == 0 ? convertSpace > d2
                                       : oxidizable.contains(cell.material) && convertSilicon > d2;
                if (converts)
                    cell.material = next[i].material = SimpleSiOxidation::oxideMaterial;
            }
        });
    }

    const MaterialSet &oxidizable;
    float x;
    float intoSilicon;
    float intoSpace;
    float convertSilicon;
    float convertSpace;
};

} // namespace

SimpleSiOxidation::SimpleSiOxidation(TotalVolume *volume, double cellUnitsPerMicron)
    : SimpleSiOxidation(volume, cellUnitsPerMicron,
                        MaterialSet::ofProcess(QStringLiteral("Simple Si Oxidation")))
{}

SimpleSiOxidation::SimpleSiOxidation(TotalVolume *volume, double cellUnitsPerMicron,
                                     const MaterialSet &oxidizable)
    : cellUnitsPerMicron(cellUnitsPerMicron), oxideThickness(0.0), oxidizable(oxidizable),
      front(volume), passes(0), lastDealGrove()
{}

SimpleSiOxidation::DealGrove SimpleSiOxidation::dealGrove(double time, double temperature,
                                                          double pressure)
{
    DealGrove g;
    g.parabolicRate1Atm = 1297.907373 * std::exp(-14.92366568 * 1000.0 / temperature);
    g.parabolicRate = pressure * 0.999264839884312 * g.parabolicRate1Atm;
    // Both rates grow with the oxidant's pressure (Henry's law): B/A too, not B alone, so A,
    // the ratio of the two, does not depend on it.
    g.linearRate = pressure * 7973245.767 * std::exp(-23.43965534 * 1000.0 / temperature);
    g.a = g.parabolicRate / g.linearRate;
    // The time an initial oxide of 0.025 um would have needed: (xi^2 + A xi) / B.
    g.tau = (0.025 * g.a + 0.000625) / g.parabolicRate;
    g.thickness = (std::sqrt(g.a * g.a + 4.0 * g.parabolicRate * (time + g.tau)) - g.a) * 0.5;
    return g;
}

bool SimpleSiOxidation::isUsableThickness(double microns)
{
    return std::isfinite(microns) && microns >= 0.0;
}

bool SimpleSiOxidation::oxidateFor(double time, double temperature, double pressure, QString *error)
{
    lastDealGrove = dealGrove(time, temperature, pressure);
    const DealGrove &g = lastDealGrove;
    qDebug() << "Time:" << time;
    qDebug() << "Temperature:" << temperature;
    qDebug() << "Pressure:" << pressure;
    qDebug() << "B (1 atm)" << g.parabolicRate1Atm;
    qDebug() << "B" << g.parabolicRate;
    qDebug() << "B/A" << g.linearRate;
    qDebug() << "A" << g.a;
    qDebug() << "tau" << g.tau;
    qDebug() << "Oxide thickness in microns" << g.thickness;
    qDebug() << "Oxide thickness in cell units" << g.thickness * cellUnitsPerMicron;
    return growOxide(g.thickness * cellUnitsPerMicron, error);
}

bool SimpleSiOxidation::oxidateToThickness(double microns, QString *error)
{
    return growOxide(microns * cellUnitsPerMicron, error);
}

bool SimpleSiOxidation::growOxide(double thickness, QString *error)
{
    passes = 0;
    const QString process = QStringLiteral("oxidation");
    const TotalVolume *volume = front.getVolume();
    const QString refused = DistanceFrontRun::checkVolume(volume, process);
    if (!refused.isEmpty()) {
        if (error)
            *error = refused;
        return false;
    }
    const float m =
        std::min(volume->getCellSizeX(), std::min(volume->getCellSizeY(), volume->getCellSizeZ()));
    // Written so that a thickness that is not a number fails the test too.
    if (!(thickness > double(m)) || !std::isfinite(thickness))
        return true;
    oxideThickness = thickness;
    passes = front.passCount(float(thickness));
    OxidationRules rules(oxidizable, thickness);
    return front.run(rules, passes, process, error);
}

} // namespace Operations
} // namespace Core
