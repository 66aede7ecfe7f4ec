#include "Core/Operations/SiOxidation/simplesioxidation.h"

#include "Model/Automaton/totalvolume.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <limits>

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

    /// An oxidizable cell with an empty face neighbour.
    bool atSurface(const CellNeighborhood &nb, const Voxel *cells, CellIndex i, quint32 x,
                   quint32 y, quint32 z) const
    {
        if (!oxidizable.contains(cells[i].material))
            return false;
        for (int k = 0; k < CellNeighborhood::FaceCount; ++k)
            if (nb.contains(x, y, z, CellNeighborhood::faceOffsets[k]) &&
                cells[qint64(i) + nb.getFaceDelta(k)].material == 0)
                return true;
        return false;
    }

    void initialize(DistanceFrontRun &run, StripFronts::Strip &strip, int)
    {
        const CellNeighborhood &nb = run.getNeighborhood();
        const Voxel *cells = run.cells();
        run.initializeStrip(
            strip, x,
            [this, &nb, cells](const Voxel &cell, CellIndex i, quint32 cx, quint32 cy, quint32 cz) {
                const quint32 material = cell.material;
                if (oxidizable.contains(material) && atSurface(nb, cells, i, cx, cy, cz))
                    return DistanceFrontRun::Source;
                // Blocks: never updated, and too far away to serve as a source.
                if (material != 0 && !oxidizable.contains(material))
                    return DistanceFrontRun::Blocking;
                return DistanceFrontRun::Free;
            },
            [this, &nb, cells](CellIndex i, quint32 cx, quint32 cy, quint32 cz) {
                const quint32 material = cells[i].material;
                bool joins = false;
                nb.forEachFaceNeighbor(i, cx, cy, cz, [&](int k, CellIndex j, quint32) {
                    if (joins)
                        return;
                    const qint32 *o = CellNeighborhood::faceOffsets[k];
                    joins = material == 0
                                ? oxidizable.contains(cells[j].material)
                                : atSurface(nb, cells, j, cx + o[0], cy + o[1], cz + o[2]);
                });
                return joins;
            });
    }

    bool changeable(const Voxel &cell) const { return !cell.fixed; }
    /// Oxide consumes less silicon than it adds in space.
    float limitSquared(const Voxel &cell) const
    {
        return cell.material != 0 ? intoSilicon : intoSpace;
    }
    /// The passes only carry distances; the conversion follows at the end.
    void accept(Voxel &) const {}

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
