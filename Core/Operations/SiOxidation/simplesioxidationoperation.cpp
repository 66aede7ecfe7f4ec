#include "Core/Operations/SiOxidation/simplesioxidationoperation.h"

#include "Core/Operations/SiOxidation/simplesioxidation.h"

#include <QString>

namespace Core {
namespace Operations {

SimpleSiOxidationOperation::SimpleSiOxidationOperation(Workspace &workspace)
    : ClassWideProcessOperation(workspace, "Simple Si Oxidation", 26,
                                QStringLiteral("SiOxidation")),
      thickness(0.0), time(0.0), temperature(0.0), pressure(0.0), cellUnitsPerMicron(1.0),
      thicknessSet(false), timeSet(false), conversionSet(false), noOxide(false)
{}

void SimpleSiOxidationOperation::end()
{
    if (!volume || !inputsComplete())
        return;
    if (!conversionSet)
        cellUnitsPerMicron = 1.0;
    // Say what the step is about to grow (Deal-Grove's result is otherwise invisible), and ask
    // before an oxide thicker than the whole volume turns it all into oxide.
    const double microns =
        thicknessSet ? thickness
                     : SimpleSiOxidation::dealGrove(time, temperature, pressure).thickness;
    if (SimpleSiOxidation::isUsableThickness(microns)) {
        const double units = microns * cellUnitsPerMicron;
        writeMessage(QStringLiteral(": Oxide thickness %1 microns (%2 cell units).")
                         .arg(microns, 0, 'g', 6)
                         .arg(units, 0, 'g', 6)
                         .toStdString());
        const double height = double(volume->getCellsZ()) * double(volume->getCellSizeZ());
        if (units > height) {
            const QString tooThick =
                QStringLiteral("The oxide (%1 cell units) is thicker than the cell volume is "
                               "high (%2 cell units).")
                    .arg(units, 0, 'g', 6)
                    .arg(height, 0, 'g', 6);
            writeMessage(": " + tooThick.toStdString());
            if (!workspace.confirm((tooThick + QStringLiteral(" Grow it anyway?")).toStdString())) {
                cancel();
                return;
            }
        }
    }
    ClassWideProcessOperation::end();
}

bool SimpleSiOxidationOperation::runWorker(std::string &failure)
{
    if (!conversionSet)
        cellUnitsPerMicron = 1.0;
    SimpleSiOxidation worker(volume.get(), cellUnitsPerMicron);
    QString error;
    bool ok = false;
    noOxide = false;
    if (!thicknessSet) {
        ok = worker.oxidateFor(time, temperature, pressure, &error);
        noOxide = !SimpleSiOxidation::isUsableThickness(worker.getDealGroveResult().thickness);
    } else {
        // The dialog asks for microns: the growth step works in cell units.
        ok = worker.oxidateToThickness(thickness, &error);
    }
    if (!ok)
        failure = error.toStdString();
    return ok;
}

void SimpleSiOxidationOperation::afterRun()
{
    // The model has no answer for these conditions (for example pressure 0): say so rather than
    // report a silent success.
    if (noOxide)
        writeMessage(QStringLiteral(": No oxide could be computed for %1 h at %2 K and %3 atm; "
                                    "the cell volume is unchanged.")
                         .arg(time)
                         .arg(temperature)
                         .arg(pressure)
                         .toStdString());
}

} // namespace Operations
} // namespace Core
