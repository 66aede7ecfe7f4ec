#include "Core/Operations/BatchRun/processsteptypes.h"

namespace Core {
namespace Operations {

namespace {

struct TypeNames
{
    const char *name;
    const char *addText;
};

// Indexed by code.
const TypeNames typeNames[] = {
    {"Photolithography", "Photolithography"},
    {"Si wet etching", "Si Wet Etching"},
    {"Moore deposition", "Moore Deposition"},
    {"Moore etching", "Moore Etching"},
    {"CVD", "CVD"},
    {"Isotropic etching", "Isotropic Etching"},
    {"Planarization", "Planarization"},
    {"Electroplating", "Electroplating"},
    {"Doping", "Doping"},
    {"Spin Coating", "Spin Coating"},
    {"Save Image", "Save Image"},
    {"Create Substrate", "Create Substrate"},
    {"PVD", "PVD"},
    {"Simple RIE", "Simple RIE"},
    {"Ion Implantation", "Ion Implantation"},
    {"Si Oxidation", "Thermal Oxidation"},
};

} // namespace

QString ProcessStepTypes::name(quint32 type)
{
    if (!isKnown(type))
        return QStringLiteral("Unknown process");
    return QString::fromLatin1(typeNames[type].name);
}

QString ProcessStepTypes::addText(quint32 type)
{
    if (!isKnown(type))
        return QString();
    return QString::fromLatin1(typeNames[type].addText);
}

QList<quint32> ProcessStepTypes::addOrder()
{
    return {Cvd,
            Pvd,
            IsotropicEtching,
            MooreDeposition,
            MooreEtching,
            Photolithography,
            Planarization,
            SiWetEtching,
            Electroplating,
            Doping,
            IonImplantation,
            SpinCoating,
            SimpleRie,
            SiOxidation,
            CreateSubstrate,
            SaveImage};
}

} // namespace Operations
} // namespace Core
