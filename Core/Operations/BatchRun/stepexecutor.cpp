#include "Core/Operations/BatchRun/stepexecutor.h"

#include "Core/Operations/Anisotropic/anisotropicfilmdeposition.h"
#include "Core/Operations/BatchRun/processsteptypes.h"
#include "Core/Operations/BatchRun/stepparameters.h"
#include "Core/Operations/Doping/ionimplantation.h"
#include "Core/Operations/Doping/simpledoping.h"
#include "Core/Operations/Electrodeposition/electrodeposition.h"
#include "Core/Operations/Isotropic/isotropicfilmdeposition.h"
#include "Core/Operations/Isotropic/isotropicfilmetching.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhooddeposition.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetching.h"
#include "Core/Operations/Photolithography/layoutfile.h"
#include "Core/Operations/Photolithography/photolithography.h"
#include "Core/Operations/Planarization/planarization.h"
#include "Core/Operations/Planarization/spincoating.h"
#include "Core/Operations/ReactiveIonEtching/simplereactiveionetching.h"
#include "Core/Operations/SiEtching/atomicstructuresimplesiwetetch.h"
#include "Core/Operations/SiOxidation/simplesioxidation.h"
#include "Core/Operations/document.h"
#include "Core/Operations/substratebuilder.h"
#include "Core/Operations/volumeprocessrecord.h"
#include "Model/Materials/materialfactory.h"

#include <limits>
#include <new>

namespace Core {
namespace Operations {

namespace {

using Model::Automaton::TotalVolume;
typedef StepExecutor::Outcome Outcome;

/// The worker's answer as an outcome; its reason goes to reason.
Outcome reported(bool ran, const QString &error, QString *reason)
{
    if (!ran && reason)
        *reason = error;
    return ran ? StepExecutor::Ran : StepExecutor::Failed;
}

/// A material id read from the step; ids the catalogue does not hold (0, "Empty", among them)
/// are refused, so no cell ever takes a material that is not in the catalogue.
quint32 materialId(StepParameters &p, const QString &name)
{
    const quint32 id = p.toUInt(name);
    if (p.ok() &&
        (id == 0 || Model::Materials::MaterialFactory::instance()->getMaterial(id).getId() != id))
        p.fail(QStringLiteral("material %1 (\"%2\") is not in the material catalogue")
                   .arg(id)
                   .arg(name));
    return id;
}

/// A count of cell layers as the Moore workers take it: counts beyond their range run as many
/// as they can, as in the interactive operations.
qint32 layerCount(quint32 steps)
{
    return qint32(qMin<quint32>(steps, quint32(std::numeric_limits<qint32>::max())));
}

void markStale(StepContext &context, bool changesSilicon)
{
    if (changesSilicon && context.records)
        context.records->setLatticeStale(context.volume->getId(), true);
}

Outcome runCvd(StepParameters &p, StepContext &c, QString *reason)
{
    const quint32 material = materialId(p, QStringLiteral("MaterialId"));
    const float thickness = p.toFloat(QStringLiteral("Thickness"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    IsotropicFilmDeposition worker(c.volume.get(), material, thickness);
    const bool ran = worker.runDeposition(&error);
    markStale(c, ran && material == 1);
    return reported(ran, error, reason);
}

Outcome runIsotropicEtching(StepParameters &p, StepContext &c, QString *reason)
{
    const quint32 material = materialId(p, QStringLiteral("MaterialId"));
    const float depth = p.toFloat(QStringLiteral("Depth"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    IsotropicFilmEtching worker(c.volume.get(), material, depth);
    const bool ran = worker.runEtching(&error);
    markStale(c, ran && material == 1);
    return reported(ran, error, reason);
}

Outcome runMooreDeposition(StepParameters &p, StepContext &c, QString *reason)
{
    const quint32 material = materialId(p, QStringLiteral("MaterialId"));
    const quint32 steps = p.toUInt(QStringLiteral("Thickness"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    MooreNeighborhoodDeposition worker(c.volume.get(), material, layerCount(steps));
    const bool ran = worker.runDeposition(&error);
    markStale(c, ran && material == 1);
    return reported(ran, error, reason);
}

Outcome runMooreEtching(StepParameters &p, StepContext &c, QString *reason)
{
    const quint32 material = materialId(p, QStringLiteral("MaterialId"));
    const quint32 steps = p.toUInt(QStringLiteral("Depth"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    MooreNeighborhoodEtching worker(c.volume.get(), material, layerCount(steps));
    const bool ran = worker.runEtching(&error);
    markStale(c, ran && material == 1);
    return reported(ran, error, reason);
}

Outcome runPvd(StepParameters &p, StepContext &c, QString *reason)
{
    const quint32 material = materialId(p, QStringLiteral("MaterialId"));
    const float thickness = p.toFloat(QStringLiteral("Thickness"));
    const float ratio = p.toFloat(QStringLiteral("Horizontal to Vertical Ratio"));
    const qint32 side = p.toInt(QStringLiteral("DepositOn"));
    if (p.ok() && AnisotropicFilmDeposition::depositOnName(quint32(side)).isEmpty())
        p.fail(QStringLiteral("parameter \"DepositOn\" is not a deposition side"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    AnisotropicFilmDeposition worker(c.volume.get(), material, thickness, ratio, quint32(side));
    const bool ran = worker.runDeposition(&error);
    markStale(c, ran && material == 1);
    return reported(ran, error, reason);
}

Outcome runElectroplating(StepParameters &p, StepContext &c, QString *reason)
{
    const float thickness = p.toFloat(QStringLiteral("Film Thickness"));
    const quint32 conducting = materialId(p, QStringLiteral("ConductingMaterialId"));
    const quint32 deposited = materialId(p, QStringLiteral("DepositedMaterialId"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    Electrodeposition worker(c.volume.get(), deposited, conducting, thickness);
    const bool ran = worker.runDeposition(&error);
    markStale(c, ran && deposited == 1);
    return reported(ran, error, reason);
}

Outcome runDoping(StepParameters &p, StepContext &c, QString *reason)
{
    const float depth = p.toFloat(QStringLiteral("Doping Depth"));
    const quint32 doped = materialId(p, QStringLiteral("DopedMaterialId"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    SimpleDoping worker(c.volume.get(), doped, depth);
    const bool ran = worker.runDoping(&error);
    markStale(c, ran);
    return reported(ran, error, reason);
}

Outcome runIonImplantation(StepParameters &p, StepContext &c, QString *reason)
{
    const float annealing = p.toFloat(QStringLiteral("Annealing Distance"));
    const float depth = p.toFloat(QStringLiteral("Implantation Depth"));
    const quint32 doped = materialId(p, QStringLiteral("DopedMaterialId"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    IonImplantation worker(c.volume.get(), doped, depth, annealing);
    const bool ran = worker.runImplantation(&error);
    markStale(c, ran);
    return reported(ran, error, reason);
}

/// A mask drawn in a GDSII layout, rasterised onto the volume's columns. The cell (the top
/// cell when left out), the scale (1) and the offsets (0) may be left out.
std::vector<bool> layoutMask(StepParameters &p, const TotalVolume &volume, const QString &prefix,
                             quint32 &width, quint32 &height)
{
    LayoutFile::Choice choice;
    choice.file = p.toString(prefix + QStringLiteral(" Layout"));
    choice.layer = p.toInt(prefix + QStringLiteral(" Layer"));
    const QString cell = prefix + QStringLiteral(" Cell"),
                  scale = prefix + QStringLiteral(" Scale"),
                  offsetX = prefix + QStringLiteral(" Offset X"),
                  offsetY = prefix + QStringLiteral(" Offset Y");
    if (p.contains(cell))
        choice.cell = p.toString(cell);
    if (p.contains(scale))
        choice.scale = p.toDouble(scale);
    if (p.contains(offsetX))
        choice.offsetX = p.toDouble(offsetX);
    if (p.contains(offsetY))
        choice.offsetY = p.toDouble(offsetY);
    if (!p.ok())
        return {};
    std::vector<bool> bits;
    QString why;
    if (LayoutFile::loadMask(choice, volume.getCellsX(), volume.getCellsY(), bits, &why) !=
        LayoutFile::Loaded) {
        p.fail(QStringLiteral("the mask \"%1\" cannot be used: %2").arg(choice.file, why));
        return {};
    }
    width = volume.getCellsX();
    height = volume.getCellsY();
    return bits;
}

/// A mask read from the step: from the GDSII layout it names, else its bits, which must fill
/// its width times its height exactly.
std::vector<bool> mask(StepParameters &p, const TotalVolume &volume, const QString &side,
                       quint32 &width, quint32 &height)
{
    const QString prefix = side + QStringLiteral(" Mask");
    if (!p.ok())
        return {}; // a step already refused need not read its layouts
    if (p.contains(prefix + QStringLiteral(" Layout")) &&
        !p.toString(prefix + QStringLiteral(" Layout")).isEmpty())
        return layoutMask(p, volume, prefix, width, height);
    std::vector<bool> bits = p.toBits(prefix);
    height = p.toUInt(prefix + QStringLiteral(" Height"));
    width = p.toUInt(prefix + QStringLiteral(" Width"));
    if (p.ok() && quint64(width) * height != bits.size())
        p.fail(QStringLiteral("the %1 mask holds %2 bits, not %3 x %4")
                   .arg(side.toLower())
                   .arg(bits.size())
                   .arg(width)
                   .arg(height));
    return bits;
}

Outcome runPhotolithography(StepParameters &p, StepContext &c, QString *reason)
{
    const quint32 material = materialId(p, QStringLiteral("MaterialId"));
    quint32 topWidth = 0, topHeight = 0, bottomWidth = 0, bottomHeight = 0;
    const std::vector<bool> top = mask(p, *c.volume, QStringLiteral("Top"), topWidth, topHeight);
    const std::vector<bool> bottom =
        mask(p, *c.volume, QStringLiteral("Bottom"), bottomWidth, bottomHeight);
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    Photolithography worker(c.volume.get(), material, bottom, bottomWidth, bottomHeight, top,
                            topWidth, topHeight);
    const bool ran = worker.run(&error);
    markStale(c, ran && material == 1);
    return reported(ran, error, reason);
}

Outcome runPlanarization(StepParameters &p, StepContext &c, QString *reason)
{
    const quint32 maximum = p.toUInt(QStringLiteral("Maximum Height"));
    const quint32 minimum = p.toUInt(QStringLiteral("Minimum Height"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    Planarization worker(c.volume.get(), maximum, minimum);
    const bool ran = worker.runPlanarization(&error);
    markStale(c, ran);
    return reported(ran, error, reason);
}

Outcome runSpinCoating(StepParameters &p, StepContext &c, QString *reason)
{
    const quint32 height = p.toUInt(QStringLiteral("Maximum Height"));
    const quint32 material = materialId(p, QStringLiteral("MaterialId"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    SpinCoating worker(c.volume.get(), material, height);
    const bool ran = worker.runSpinCoating(&error);
    markStale(c, ran && material == 1);
    return reported(ran, error, reason);
}

Outcome runSimpleRie(StepParameters &p, StepContext &c, QString *reason)
{
    const quint32 material = materialId(p, QStringLiteral("MaterialId"));
    const quint32 steps = p.toUInt(QStringLiteral("Etch Depth"));
    const qint32 direction = p.toInt(QStringLiteral("EtchDirectionValue"));
    if (p.ok() && (direction < 0 || direction > SimpleReactiveIonEtching::FromBothSides))
        p.fail(QStringLiteral("parameter \"EtchDirectionValue\" is not an etch direction"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    SimpleReactiveIonEtching worker(c.volume.get(), material, steps, quint8(direction));
    const bool ran = worker.runEtching(&error);
    markStale(c, ran && material == 1);
    return reported(ran, error, reason);
}

Outcome runSiOxidation(StepParameters &p, StepContext &c, QString *reason)
{
    const bool timeSet = p.toBool(QStringLiteral("OxidationTimeSet"));
    const double conversion = p.toDouble(QStringLiteral("Micron Conversion"));
    double time = 0.0, temperature = 0.0, pressure = 0.0, thickness = 0.0;
    if (timeSet) {
        pressure = p.toDouble(QStringLiteral("Oxidation Pressure"));
        temperature = p.toDouble(QStringLiteral("Oxidation Temperature"));
        time = p.toDouble(QStringLiteral("Oxidation Time"));
    } else {
        thickness = p.toDouble(QStringLiteral("Oxidation Thickness"));
    }
    // Either would grow nothing and still read as a step that ran.
    if (p.ok() && !(conversion > 0.0))
        p.fail(QStringLiteral("parameter \"Micron Conversion\" is not a number above 0"));
    if (p.ok() && !timeSet && thickness < 0.0)
        p.fail(QStringLiteral("parameter \"Oxidation Thickness\" is not a number of at least 0"));
    if (!p.ok())
        return StepExecutor::Skipped;
    SimpleSiOxidation worker(c.volume.get(), conversion);
    QString error;
    bool ran = false;
    if (timeSet) {
        ran = worker.oxidateFor(time, temperature, pressure, &error);
        if (ran && !SimpleSiOxidation::isUsableThickness(worker.getDealGroveResult().thickness)) {
            // The model has no answer for these conditions: nothing was grown.
            if (reason)
                *reason = QStringLiteral("no oxide could be computed for %1 h at %2 K and %3 atm")
                              .arg(time)
                              .arg(temperature)
                              .arg(pressure);
            return StepExecutor::Skipped;
        }
    } else {
        // Microns, as the dialog asks for them; the worker converts to cell units.
        ran = worker.oxidateToThickness(thickness, &error);
    }
    markStale(c, ran);
    return reported(ran, error, reason);
}

Outcome runSiWetEtching(StepParameters &p, StepContext &c, QString *reason)
{
    const float depth = p.toFloat(QStringLiteral("Depth"));
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    // The crystal is rebuilt only when a step since the last etch changed the silicon.
    const bool stale = !c.records || c.records->isLatticeStale(c.volume->getId());
    if (stale && !c.volume->rebuildSiLattice(&error))
        return reported(false, error, reason);
    const bool ran = AtomicStructureSimpleSiWetEtch(c.volume.get(), depth).runEtching(&error);
    if (c.records)
        c.records->setLatticeStale(c.volume->getId(), !ran);
    return reported(ran, error, reason);
}

Outcome runSaveImage(StepParameters &p, StepContext &c, QString *reason)
{
    const QString fileName = p.toString(QStringLiteral("Filename"));
    if (!p.ok())
        return StepExecutor::Skipped;
    if (!c.saveImage) {
        if (reason)
            *reason = QStringLiteral("no picture of the view can be made here");
        return StepExecutor::Skipped;
    }
    QString error;
    if (!c.saveImage(c.volume, fileName, &error)) {
        if (reason)
            *reason = error;
        return StepExecutor::Skipped;
    }
    return StepExecutor::Ran;
}

Outcome runCreateSubstrate(StepParameters &p, StepContext &c, QString *reason)
{
    const quint32 material = materialId(p, QStringLiteral("MaterialId"));
    const Util::Vector3D corner = p.toVector3D(QStringLiteral("Lower Left Front Corner"));
    const quint32 cellsX = p.toUInt(QStringLiteral("Volume Size X"));
    const quint32 cellsY = p.toUInt(QStringLiteral("Volume Size Y"));
    const quint32 cellsZ = p.toUInt(QStringLiteral("Volume Size Z"));
    const bool spherical = p.toBool(QStringLiteral("SphericalSubstrate"));
    SubstrateBuilder builder(material, cellsX, cellsY, cellsZ, corner);
    if (spherical) {
        const quint32 x = p.toUInt(QStringLiteral("Substrate Center X"));
        const quint32 y = p.toUInt(QStringLiteral("Substrate Center Y"));
        const quint32 z = p.toUInt(QStringLiteral("Substrate Center Z"));
        builder.setSphere(x, y, z, p.toUInt(QStringLiteral("Substrate Radius")));
    } else {
        const quint32 width = p.toUInt(QStringLiteral("Substrate Size X"));
        const quint32 length = p.toUInt(QStringLiteral("Substrate Size Y"));
        const quint32 height = p.toUInt(QStringLiteral("Substrate Size Z"));
        const quint32 x = p.toUInt(QStringLiteral("Substrate Delta X"));
        const quint32 y = p.toUInt(QStringLiteral("Substrate Delta Y"));
        const quint32 z = p.toUInt(QStringLiteral("Substrate Delta Z"));
        builder.setBox(x, y, z, width, length, height);
    }
    if (!p.ok())
        return StepExecutor::Skipped;
    QString error;
    TotalVolume::Ptr built = builder.build(&error);
    if (!built)
        return reported(false, error, reason);
    c.volume = built;
    if (c.document)
        c.document->addObject(built);
    return StepExecutor::Ran;
}

typedef Outcome (*Executor)(StepParameters &, StepContext &, QString *);

/// The executor of each type, by code.
const Executor executors[] = {
    runPhotolithography, // 0
    runSiWetEtching,     // 1
    runMooreDeposition,  // 2
    runMooreEtching,     // 3
    runCvd,              // 4
    runIsotropicEtching, // 5
    runPlanarization,    // 6
    runElectroplating,   // 7
    runDoping,           // 8
    runSpinCoating,      // 9
    runSaveImage,        // 10
    runCreateSubstrate,  // 11
    runPvd,              // 12
    runSimpleRie,        // 13
    runIonImplantation,  // 14
    runSiOxidation,      // 15
};

} // namespace

bool StepExecutor::isAvailable(quint32 type)
{
    return ProcessStepTypes::isKnown(type) && executors[type] != nullptr;
}

StepExecutor::Outcome StepExecutor::execute(quint32 type, const QVariantMap &parameters,
                                            StepContext &context, QString *reason)
{
    if (!ProcessStepTypes::isKnown(type)) {
        if (reason)
            *reason = QStringLiteral("unknown process type %1").arg(type);
        return Skipped;
    }
    if (!executors[type]) {
        if (reason)
            *reason = QStringLiteral("not available");
        return Skipped;
    }
    if (type != ProcessStepTypes::CreateSubstrate && !context.volume) {
        if (reason)
            *reason = QStringLiteral("there is no cell volume");
        return Skipped;
    }
    StepParameters read(parameters);
    QString why;
    Outcome outcome = Failed;
    try {
        outcome = executors[type](read, context, &why);
    } catch (const std::bad_alloc &) {
        outcome = Failed;
        why = QStringLiteral("out of memory");
    }
    if (!read.ok())
        why = read.getReason();
    if (reason)
        *reason = why;
    return outcome;
}

} // namespace Operations
} // namespace Core
