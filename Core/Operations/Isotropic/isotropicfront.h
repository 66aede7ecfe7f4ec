#ifndef CELVANE_CORE_OPERATIONS_ISOTROPIC_ISOTROPICFRONT_H
#define CELVANE_CORE_OPERATIONS_ISOTROPIC_ISOTROPICFRONT_H

#include "Core/Operations/distancefrontrun.h"

#include <QString>
#include <QtGlobal>

namespace Core {
namespace Operations {

/// The run shared by the isotropic deposition, etching and plating workers: a distance front
/// spreads from the source cells (filled cells for a deposition, empty cells for an etch, cells
/// of the conductor for plating) through the cells the process may change, on strips along x,
/// for a number of passes fixed by the thickness, and changes every cell whose carried distance
/// stays within the thickness.
class IsotropicFront
{
public:
    enum Mode
    {
        Deposition,
        Etching,
        /// A deposition that grows only from cells of one conducting material; every other
        /// filled cell blocks it.
        Plating
    };

    /// Both cell arrays of volume must agree (no other worker running). volume is not owned.
    /// conductingMaterial is used by Plating only.
    IsotropicFront(Model::Automaton::TotalVolume *volume, quint32 material, float thickness,
                   Mode mode, quint32 conductingMaterial = 0);
    IsotropicFront(const IsotropicFront &) = delete;
    IsotropicFront &operator=(const IsotropicFront &) = delete;

    /// Locks both arrays, runs the initialization and the passes, releases the arrays. Returns
    /// false with a reason when the parameters are unusable (nothing changes) or memory ran out
    /// (the cells hold the last whole pass; both arrays agree).
    bool run(QString *error);

    /// Passes the thickness calls for.
    quint64 getPassCount() const { return passes; }
    /// Passes actually run by the last run: fewer when the fronts died out early.
    quint64 getPassesRun() const { return front.getPassesRun(); }
    int getStripCount() const { return front.getStripCount(); }
    int getThreadCount() const { return front.getThreadCount(); }

private:
    quint32 material;
    quint32 conductingMaterial;
    float thickness;
    Mode mode;
    DistanceFrontRun front;
    quint64 passes;
};

} // namespace Operations
} // namespace Core

#endif
