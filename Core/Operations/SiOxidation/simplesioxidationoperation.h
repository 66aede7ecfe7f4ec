#ifndef CELVANE_CORE_OPERATIONS_SIOXIDATION_SIMPLESIOXIDATIONOPERATION_H
#define CELVANE_CORE_OPERATIONS_SIOXIDATION_SIMPLESIOXIDATIONOPERATION_H

#include "Core/Operations/classwideprocessoperation.h"

namespace Core {
namespace Operations {

/// Thermal oxidation of a cell volume, for a time (Deal-Grove) or to a thickness in microns.
class SimpleSiOxidationOperation : public ClassWideProcessOperation<SimpleSiOxidationOperation>
{
public:
    explicit SimpleSiOxidationOperation(Workspace &workspace);

    /// Cell units per micron.
    void setConversion(double value) { flagInput(cellUnitsPerMicron, conversionSet, value); }
    /// Oxidation time in hours.
    void setTime(double value) { flagInput(time, timeSet, value); }
    /// Pressure in atmospheres.
    void setPressure(double value) { pressure = value; }
    /// Temperature in kelvin.
    void setTemperature(double value) { temperature = value; }
    /// Oxide thickness in microns.
    void setThickness(double value) { flagInput(thickness, thicknessSet, value); }

    double getConversion() const { return cellUnitsPerMicron; }
    double getTime() const { return time; }
    double getPressure() const { return pressure; }
    double getTemperature() const { return temperature; }
    double getThickness() const { return thickness; }

    /// Runs once a volume is taken and a thickness or a time arrived; before that it returns
    /// without a word (the operation keeps waiting). Reports the thickness first, and asks
    /// before growing one beyond the volume's height (declined: cancelled).
    void end() override;

protected:
    bool inputsComplete() const override { return thicknessSet || timeSet; }
    bool runWorker(std::string &failure) override;
    void afterRun() override;
    bool changesSilicon() const override { return true; }

private:
    double thickness;
    double time;
    double temperature;
    double pressure;
    double cellUnitsPerMicron;
    bool thicknessSet;
    bool timeSet;
    bool conversionSet;
    bool noOxide;
};

} // namespace Operations
} // namespace Core

#endif
