#include "Core/Operations/Isotropic/isotropicfront.h"

#include "Model/Automaton/totalvolume.h"

#include <cmath>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {

typedef CellNeighborhood::CellIndex CellIndex;

/// The rules of the three processes: they differ in their sources and in the cells the front
/// moves through.
template <IsotropicFront::Mode M> struct IsotropicRules : DistanceFrontRules
{
    IsotropicRules(quint32 material, quint32 conductor, float thickness)
        : material(material), conductor(conductor), thickness(thickness),
          limit(thickness * thickness)
    {}

    /// Sources: filled cells of a deposition, empty cells of an etch, the conductor of plating.
    bool isSource(const Voxel &cell) const
    {
        if (M == IsotropicFront::Deposition)
            return cell.material != 0;
        if (M == IsotropicFront::Etching)
            return cell.material == 0;
        return cell.material == conductor;
    }

    /// The cells the front moves through: empty cells, or for an etch filled ones.
    bool isPassable(quint32 id) const { return M == IsotropicFront::Etching ? id != 0 : id == 0; }

    void initialize(DistanceFrontRun &run, StripFronts::Strip &strip, int)
    {
        // A cell joins the first front when it touches a source: for plating the conductor
        // itself, so a hollow closed in by conductor is plated too.
        run.initializeStripTouchingSources(
            strip, thickness, [this](const Voxel &cell, CellIndex, quint32, quint32, quint32) {
                if (isSource(cell))
                    return DistanceFrontRun::Source;
                // Other filled cells block the plating: never updated, never a source.
                if (M == IsotropicFront::Plating && cell.material != 0)
                    return DistanceFrontRun::Blocking;
                return DistanceFrontRun::Free;
            });
    }

    bool changeable(const Voxel &cell) const
    {
        // Other materials keep their distance and never pass the etch front on: they mask it.
        return !cell.fixed &&
               (M != IsotropicFront::Etching || cell.material == 0 || cell.material == material);
    }

    float limitSquared(const Voxel &) const { return limit; }

    quint32 changedMaterial(const Voxel &cell) const
    {
        if (M == IsotropicFront::Etching)
            return cell.material == material ? 0 : cell.material;
        return cell.material == 0 ? material : cell.material;
    }

    bool passes(quint32 id) const { return isPassable(id); }

    quint32 material;
    quint32 conductor;
    float thickness;
    float limit;
};

template <IsotropicFront::Mode M>
bool runWith(DistanceFrontRun &front, quint32 material, quint32 conductor, float thickness,
             quint64 passes, const QString &process, QString *error)
{
    IsotropicRules<M> rules(material, conductor, thickness);
    return front.run(rules, passes, process, error);
}

} // namespace

IsotropicFront::IsotropicFront(TotalVolume *volume, quint32 material, float thickness, Mode mode,
                               quint32 conductingMaterial)
    : material(material), conductingMaterial(conductingMaterial), thickness(thickness), mode(mode),
      front(volume), passes(front.passCount(thickness))
{}

bool IsotropicFront::run(QString *error)
{
    const QString process = mode == Deposition ? QStringLiteral("isotropic deposition")
                            : mode == Etching  ? QStringLiteral("isotropic etching")
                                               : QStringLiteral("electroplating");
    if (!std::isfinite(thickness) || thickness < 0.0f) {
        if (error)
            *error =
                mode == Etching
                    ? QStringLiteral("The etch depth must be a finite number of at least 0.")
                    : QStringLiteral("The film thickness must be a finite number of at least 0.");
        return false;
    }
    switch (mode) {
    case Deposition:
        return runWith<Deposition>(front, material, conductingMaterial, thickness, passes, process,
                                   error);
    case Etching:
        return runWith<Etching>(front, material, conductingMaterial, thickness, passes, process,
                                error);
    case Plating:
        break;
    }
    return runWith<Plating>(front, material, conductingMaterial, thickness, passes, process, error);
}

} // namespace Operations
} // namespace Core
