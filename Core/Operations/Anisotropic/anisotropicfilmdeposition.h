#ifndef CELVANE_CORE_OPERATIONS_ANISOTROPIC_ANISOTROPICFILMDEPOSITION_H
#define CELVANE_CORE_OPERATIONS_ANISOTROPIC_ANISOTROPICFILMDEPOSITION_H

#include "Core/Operations/distancefrontrun.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace Core {
namespace Operations {

/// Directional (physical vapour) deposition: a film grows only from the filled cells that face
/// the deposition direction (up, down or both), and more slowly sideways than vertically:
/// horizontal steps are stretched by the inverse of the horizontal-to-vertical ratio before
/// distances are compared with the thickness.
class AnisotropicFilmDeposition
{
public:
    /// Deposition side (`DepositOn`).
    enum DepositOn
    {
        OnTop = 1,
        OnBottom = 2,
        OnTopAndBottom = 3
    };

    /// The side's display name ("On Top", "On Bottom", "On Top and Bottom"); empty for other
    /// values.
    static QString depositOnName(quint32 side);

    /// thickness is in the world units of the vertical cell size; ratio is the
    /// horizontal-to-vertical ratio (above 0); side is a DepositOn value. volume is not owned.
    /// The strip count is the global thread pool's maximum thread count at this moment.
    AnisotropicFilmDeposition(Model::Automaton::TotalVolume *volume, quint32 material,
                              float thickness, float ratio, quint32 side);

    /// Runs the whole deposition, holding both cell arrays of the volume until it returns.
    /// Returns false with a reason when nothing could be done (no volume, a thickness below 0
    /// or not a number, a ratio not above 0, an unknown side, unusable cell sizes) or when
    /// memory ran out part-way.
    bool runDeposition(QString *error = nullptr);

    /// The scaled step sizes: cellSizeX / ratio, cellSizeY / ratio, cellSizeZ.
    float getStepX() const { return stepX; }
    float getStepY() const { return stepY; }
    float getStepZ() const { return stepZ; }
    quint64 getPassCount() const { return passes; }
    quint64 getPassesRun() const { return front.getPassesRun(); }
    int getStripCount() const { return front.getStripCount(); }

private:
    quint32 material;
    float thickness;
    float ratio;
    quint32 side;
    float stepX;
    float stepY;
    float stepZ;
    DistanceFrontRun front;
    quint64 passes;
};

} // namespace Operations
} // namespace Core

#endif
