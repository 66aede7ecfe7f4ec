#ifndef CELVANE_CORE_OPERATIONS_SIOXIDATION_SIMPLESIOXIDATION_H
#define CELVANE_CORE_OPERATIONS_SIOXIDATION_SIMPLESIOXIDATION_H

#include "Core/Operations/distancefrontrun.h"
#include "Core/Operations/materialset.h"

#include <QString>
#include <QtGlobal>

namespace Core {
namespace Operations {

/// Thermal oxidation of silicon. The oxide thickness is given, or computed from time,
/// temperature and pressure with the Deal-Grove model; a distance front seeded at the exposed
/// surface of the oxidizable cells then lays it out: 0.3 of it grows into the silicon, 0.6 of
/// it out into empty space, and every cell of that region becomes thermal oxide (id 3).
class SimpleSiOxidation
{
public:
    /// The figures of the Deal-Grove model for one set of conditions.
    struct DealGrove
    {
        double parabolicRate1Atm; ///< B at 1 atm, um^2/h
        double parabolicRate;     ///< B, um^2/h
        double linearRate;        ///< B/A, um/h
        double a;                 ///< A, um
        double tau;               ///< time offset of the initial 0.025 um oxide, h
        double thickness;         ///< oxide thickness, um
    };

    /// The material every oxidised cell becomes ("Thermal Si02").
    static constexpr quint32 oxideMaterial = 3;

    /// cellUnitsPerMicron converts microns into the world units of the cell sizes. The
    /// oxidizable materials are the compatible materials of the process "Simple Si Oxidation" in
    /// the process catalogue. volume is not owned.
    SimpleSiOxidation(Model::Automaton::TotalVolume *volume, double cellUnitsPerMicron);
    /// The same with an explicit set of oxidizable materials.
    SimpleSiOxidation(Model::Automaton::TotalVolume *volume, double cellUnitsPerMicron,
                      const MaterialSet &oxidizable);

    /// Deal-Grove: time in hours, temperature in kelvin, pressure in atmospheres.
    static DealGrove dealGrove(double time, double temperature, double pressure);
    /// True for a thickness (in microns) that oxide can be grown to: a finite number of at least 0.
    static bool isUsableThickness(double microns);

    /// Oxidises for a time at a temperature and pressure: the Deal-Grove thickness times the cell
    /// units per micron goes to the growth step. The figures go to the debug log. When the model
    /// gives no usable thickness (pressure 0, temperature 0), nothing changes; see
    /// getDealGroveResult().
    bool oxidateFor(double time, double temperature, double pressure, QString *error = nullptr);
    /// Oxidises to a thickness given in microns (times the cell units per micron).
    bool oxidateToThickness(double microns, QString *error = nullptr);
    /// The growth step: lays out an oxide of the given thickness in cell units. A thickness not
    /// above the smallest cell size (or not a finite number) changes nothing and takes no lock.
    /// Returns false with a reason when there is no volume, its cell sizes are unusable, or
    /// memory ran out part-way.
    bool growOxide(double thickness, QString *error = nullptr);

    double getCellUnitsPerMicron() const { return cellUnitsPerMicron; }
    /// The thickness of the last growth step, in cell units.
    double getOxideThickness() const { return oxideThickness; }
    /// The figures of the last oxidateFor.
    const DealGrove &getDealGroveResult() const { return lastDealGrove; }
    /// Passes of the last growth step; 0 when it returned at once.
    quint64 getPassCount() const { return passes; }
    quint64 getPassesRun() const { return front.getPassesRun(); }
    int getStripCount() const { return front.getStripCount(); }

private:
    double cellUnitsPerMicron;
    double oxideThickness;
    MaterialSet oxidizable;
    DistanceFrontRun front;
    quint64 passes;
    DealGrove lastDealGrove;
};

} // namespace Operations
} // namespace Core

#endif
