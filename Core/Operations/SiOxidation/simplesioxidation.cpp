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

    /// Bit sets over layers [firstX, endX) of the volume, each column on whole 64-bit words.
    struct LayerBits
    {
        LayerBits(quint32 firstX, quint32 endX, quint32 cellsY, quint32 words)
            : firstX(firstX), endX(endX), cellsY(cellsY), words(words),
              bits(size_t(endX - firstX) * cellsY * words, 0)
        {}
        quint64 *column(quint32 x, quint32 y)
        {
            return &bits[(size_t(x - firstX) * cellsY + y) * words];
        }
        /// Word w of column (x, y); 0 outside the layers held.
        quint64 word(qint64 x, qint64 y, quint32 w) const
        {
            if (x < qint64(firstX) || x >= qint64(endX) || y < 0 || y >= qint64(cellsY))
                return 0;
            return bits[(size_t(x - firstX) * cellsY + size_t(y)) * words + w];
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
        bool test(quint32 x, quint32 y, quint32 z) const
        {
            return (word(x, y, z >> 6) >> (z & 63)) & 1u;
        }

        quint32 firstX, endX, cellsY, words;
        std::vector<quint64> bits;
    };

    void initialize(DistanceFrontRun &run, StripFronts::Strip &strip, int)
    {
        const CellNeighborhood &nb = run.getNeighborhood();
        const Voxel *cells = run.cells();
        const quint32 cellsX = nb.getCellsX(), cellsY = nb.getCellsY(), cellsZ = nb.getCellsZ();
        const quint32 W = (cellsZ + 63) / 64;
        const quint32 firstX = strip.getFirstX(), endX = strip.getEndX();
        // Oxidizable and empty cells two layers around the strip, surface cells one layer
        // around it: word operations instead of up to 42 reads per cell.
        LayerBits oxidizableBits(firstX < 2 ? 0 : firstX - 2, qMin(endX + 2, cellsX), cellsY, W);
        LayerBits emptyBits(oxidizableBits.firstX, oxidizableBits.endX, cellsY, W);
        for (quint32 lx = oxidizableBits.firstX; lx < oxidizableBits.endX; ++lx)
            for (quint32 y = 0; y < cellsY; ++y) {
                quint64 *o = oxidizableBits.column(lx, y);
                quint64 *e = emptyBits.column(lx, y);
                const Voxel *column = cells + nb.index(lx, y, 0);
                for (quint32 z = 0; z < cellsZ; ++z) {
                    const quint32 m = column[z].material;
                    o[z >> 6] |= quint64(oxidizable.contains(m)) << (z & 63);
                    e[z >> 6] |= quint64(m == 0) << (z & 63);
                }
            }
        // An oxidizable cell with an empty face neighbour.
        LayerBits surfaceBits(firstX == 0 ? 0 : firstX - 1, qMin(endX + 1, cellsX), cellsY, W);
        for (quint32 lx = surfaceBits.firstX; lx < surfaceBits.endX; ++lx)
            for (quint32 y = 0; y < cellsY; ++y) {
                quint64 *sw = surfaceBits.column(lx, y);
                for (quint32 w = 0; w < W; ++w)
                    sw[w] = oxidizableBits.word(lx, y, w) & emptyBits.faceNeighbors(lx, y, w);
            }
        run.initializeStrip(
            strip, this->x,
            [this, &surfaceBits](const Voxel &cell, CellIndex, quint32 cx, quint32 cy, quint32 cz) {
                if (surfaceBits.test(cx, cy, cz))
                    return DistanceFrontRun::Source;
                // Blocks: never updated, and too far away to serve as a source.
                if (cell.material != 0 && !oxidizable.contains(cell.material))
                    return DistanceFrontRun::Blocking;
                return DistanceFrontRun::Free;
            },
            [cells, &oxidizableBits, &surfaceBits](CellIndex i, quint32 cx, quint32 cy,
                                                   quint32 cz) {
                // Empty cells next to oxidizable ones; filled ones next to the surface.
                const LayerBits &near = cells[i].material == 0 ? oxidizableBits : surfaceBits;
                return (near.faceNeighbors(cx, cy, cz >> 6) >> (cz & 63)) & 1u;
            });
    }

    bool changeable(const Voxel &cell) const { return !cell.fixed; }
    /// Oxide consumes less silicon than it adds in space.
    float limitSquared(const Voxel &cell) const
    {
        return cell.material != 0 ? intoSilicon : intoSpace;
    }
    /// The passes only carry distances; the conversion follows at the end.
    quint32 changedMaterial(const Voxel &cell) const { return cell.material; }

    void fileNeighbors(DistanceFrontRun &run, StripFronts::Strip &strip, CellIndex i, quint32 cx,
                       quint32 cy, quint32 cz)
    {
        const Voxel *cells = run.cells();
        run.getNeighborhood().forEachFaceNeighbor(
            i, cx, cy, cz, [this, cells, &strip](int, CellIndex j, quint32 nx) {
                const quint32 m = cells[j].material;
                if (m == 0 || m == SimpleSiOxidation::oxideMaterial || oxidizable.contains(m))
                    strip.file(j, nx);
            });
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
    g.linearRate = 7973245.767 * std::exp(-23.43965534 * 1000.0 / temperature);
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
