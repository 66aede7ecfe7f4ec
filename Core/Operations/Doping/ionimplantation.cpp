#include "Core/Operations/Doping/ionimplantation.h"

#include "Core/Operations/Doping/dopingrules.h"
#include "Model/Automaton/totalvolume.h"

#include <cmath>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {

typedef CellNeighborhood::CellIndex CellIndex;

/// Sources are the implanted cells, placed column by column; the front moves through dopable
/// cells, filed among the 6 face neighbours.
struct ImplantationRules : DopingRules
{
    static constexpr bool initializationChangesMaterials = true;

    ImplantationRules(const MaterialSet &dopable, quint32 dopedMaterial, float annealingDistance,
                      float implantationDepth)
        : DopingRules(dopable, dopedMaterial, annealingDistance),
          implantationDepth(implantationDepth)
    {}

    void initialize(DistanceFrontRun &run, StripFronts::Strip &strip, int)
    {
        const CellNeighborhood &nb = run.getNeighborhood();
        Voxel *cells = run.cells();
        Voxel *next = run.nextCells();
        const float a = distance;
        const float cellSizeZ = run.getVolume()->getCellSizeZ();
        const double halfCell = 0.5 * double(cellSizeZ);
        const quint32 cellsZ = nb.getCellsZ();
        for (quint32 x = strip.getFirstX(); x < strip.getEndX(); ++x)
            for (quint32 y = 0; y < nb.getCellsY(); ++y) {
                const CellIndex column = nb.index(x, y, 0);
                // The empty cells above the column's top filled cell.
                quint32 z = cellsZ;
                while (z > 0 && cells[column + z - 1].material == 0) {
                    --z;
                    Voxel &cell = cells[column + z];
                    cell.fixed = true;
                    cell.setDistance(a, a, a);
                }
                if (z == 0)
                    continue; // no filled cell
                const quint32 top = z - 1;
                for (quint32 zz = top + 1; zz-- > 0;) {
                    const CellIndex i = column + zz;
                    Voxel &cell = cells[i];
                    const bool isDopable = dopable.contains(cell.material);
                    const float depth = float(top + 1 - zz) * cellSizeZ;
                    const float offset = depth - implantationDepth;
                    if (isDopable && std::fabs(double(offset)) <= halfCell) {
                        cell.material = next[i].material = dopedMaterial;
                        cell.fixed = true;
                        cell.setDistance(0.0f, 0.0f, 0.0f);
                        fileImplantNeighbors(nb, cells, strip, i, x, y, zz);
                        continue;
                    }
                    cell.setDistance(a, a, a);
                    // Other materials, and empty cells below the top one, block the annealing.
                    cell.fixed = !isDopable;
                }
            }
    }

    /// Files the face neighbours of an implanted cell. Neighbours in other strips are filed
    /// without looking at them: those strips change their cells in this same pass, and a
    /// neighbour that is not dopable is passed over by the propagation anyway.
    void fileImplantNeighbors(const CellNeighborhood &nb, const Voxel *cells,
                              StripFronts::Strip &strip, CellIndex i, quint32 x, quint32 y,
                              quint32 z)
    {
        nb.forEachFaceNeighbor(i, x, y, z, [this, cells, &strip](int, CellIndex j, quint32 nx) {
            const bool inStrip = nx >= strip.getFirstX() && nx < strip.getEndX();
            if (!inStrip || dopable.contains(cells[j].material))
                strip.file(j, nx);
        });
    }

    float implantationDepth;
};

} // namespace

IonImplantation::IonImplantation(TotalVolume *volume, quint32 dopedMaterial,
                                 float implantationDepth, float annealingDistance)
    : IonImplantation(volume, dopedMaterial, implantationDepth, annealingDistance,
                      MaterialSet::ofProcess(QStringLiteral("Simple Doping")))
{}

IonImplantation::IonImplantation(TotalVolume *volume, quint32 dopedMaterial,
                                 float implantationDepth, float annealingDistance,
                                 const MaterialSet &dopable)
    : dopedMaterial(dopedMaterial), implantationDepth(implantationDepth),
      annealingDistance(annealingDistance), dopable(dopable), front(volume),
      passes(front.passCount(annealingDistance))
{}

bool IonImplantation::runImplantation(QString *error)
{
    QString refused;
    if (!std::isfinite(implantationDepth) || implantationDepth < 0.0f)
        refused = QStringLiteral("The implantation depth must be a finite number of at least 0.");
    else if (!std::isfinite(annealingDistance) || annealingDistance < 0.0f)
        refused = QStringLiteral("The annealing distance must be a finite number of at least 0.");
    if (!refused.isEmpty()) {
        if (error)
            *error = refused;
        return false;
    }
    ImplantationRules rules(dopable, dopedMaterial, annealingDistance, implantationDepth);
    return front.run(rules, passes, QStringLiteral("ion implantation"), error);
}

} // namespace Operations
} // namespace Core
