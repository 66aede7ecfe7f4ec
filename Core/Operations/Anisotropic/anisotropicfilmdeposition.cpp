#include "Core/Operations/Anisotropic/anisotropicfilmdeposition.h"

#include "Model/Automaton/totalvolume.h"

#include <cmath>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {

typedef CellNeighborhood::CellIndex CellIndex;

float sizeOf(const TotalVolume *volume, float (TotalVolume::*get)() const)
{
    return volume ? (volume->*get)() : 1.0f;
}

/// The deposition's rules: cells facing the deposition grow the film.
struct AnisotropicRules : DistanceFrontRules
{
    AnisotropicRules(quint32 material, float thickness, quint32 side)
        : material(material), thickness(thickness), limit(thickness * thickness), side(side)
    {}

    /// A filled cell faces the deposition when the cell on that side exists and is empty.
    bool facesDeposition(const CellNeighborhood &nb, const Voxel *cells, CellIndex i,
                         quint32 z) const
    {
        const bool above = z + 1 < nb.getCellsZ() && cells[i + 1].material == 0;
        const bool below = z > 0 && cells[i - 1].material == 0;
        switch (side) {
        case AnisotropicFilmDeposition::OnTop:
            return above;
        case AnisotropicFilmDeposition::OnBottom:
            return below;
        default:
            return above || below;
        }
    }

    void initialize(DistanceFrontRun &run, StripFronts::Strip &strip, int)
    {
        const CellNeighborhood &nb = run.getNeighborhood();
        const Voxel *cells = run.cells();
        run.initializeStrip(
            strip, thickness,
            [this, &nb, cells](const Voxel &cell, CellIndex i, quint32, quint32, quint32 z) {
                if (cell.material == 0)
                    return DistanceFrontRun::Free;
                // Filled cells grow the film only where they face the deposition; others block.
                return facesDeposition(nb, cells, i, z) ? DistanceFrontRun::Source
                                                        : DistanceFrontRun::Blocking;
            },
            [&nb, cells](CellIndex i, quint32 x, quint32 y, quint32 z) {
                bool touchesFilm = false;
                nb.forEachFaceNeighbor(i, x, y, z, [&](int, CellIndex j, quint32) {
                    touchesFilm = touchesFilm || cells[j].material != 0;
                });
                return touchesFilm;
            });
    }

    bool changeable(const Voxel &cell) const { return !cell.fixed; }
    float limitSquared(const Voxel &) const { return limit; }

    /// Front cells are always empty: each takes the deposited material.
    quint32 changedMaterial(const Voxel &) const { return material; }

    /// The film grows into empty cells only.
    bool passes(quint32 id) const { return id == 0; }

    quint32 material;
    float thickness;
    float limit;
    quint32 side;
};

} // namespace

QString AnisotropicFilmDeposition::depositOnName(quint32 side)
{
    switch (side) {
    case OnTop:
        return QStringLiteral("On Top");
    case OnBottom:
        return QStringLiteral("On Bottom");
    case OnTopAndBottom:
        return QStringLiteral("On Top and Bottom");
    default:
        return QString();
    }
}

AnisotropicFilmDeposition::AnisotropicFilmDeposition(TotalVolume *volume, quint32 material,
                                                     float thickness, float ratio, quint32 side)
    : material(material), thickness(thickness), ratio(ratio), side(side),
      stepX(sizeOf(volume, &TotalVolume::getCellSizeX) / ratio),
      stepY(sizeOf(volume, &TotalVolume::getCellSizeY) / ratio),
      stepZ(sizeOf(volume, &TotalVolume::getCellSizeZ)), front(volume, stepX, stepY, stepZ),
      passes(front.passCount(thickness))
{}

bool AnisotropicFilmDeposition::runDeposition(QString *error)
{
    QString refused;
    if (!std::isfinite(thickness) || thickness < 0.0f)
        refused = QStringLiteral("The film thickness must be a finite number of at least 0.");
    else if (!std::isfinite(ratio) || !(ratio > 0.0f))
        refused = QStringLiteral("The horizontal ratio must be a finite number above 0.");
    else if (side < OnTop || side > OnTopAndBottom)
        refused = QStringLiteral("The deposition side must be 1 (top), 2 (bottom) or 3 (both).");
    else if (front.getVolume() &&
             DistanceFront::validCellSizes(front.getVolume()->getCellSizeX(),
                                           front.getVolume()->getCellSizeY(),
                                           front.getVolume()->getCellSizeZ()) &&
             !DistanceFront::validCellSizes(stepX, stepY, stepZ))
        refused = QStringLiteral("The horizontal ratio is too small for the cell sizes.");
    if (!refused.isEmpty()) {
        if (error)
            *error = refused;
        return false;
    }
    AnisotropicRules rules(material, thickness, side);
    return front.run(rules, passes, QStringLiteral("directional deposition"), error);
}

} // namespace Operations
} // namespace Core
