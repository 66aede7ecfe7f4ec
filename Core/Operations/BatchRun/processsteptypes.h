#ifndef CELVANE_CORE_OPERATIONS_BATCHRUN_PROCESSSTEPTYPES_H
#define CELVANE_CORE_OPERATIONS_BATCHRUN_PROCESSSTEPTYPES_H

#include <QList>
#include <QString>

namespace Core {
namespace Operations {

/// The step types of a process list: their codes, the names shown in a list and the texts
/// offered for adding one. The codes are stored in process-list files and must not change.
class ProcessStepTypes
{
public:
    enum Code : quint32
    {
        Photolithography = 0,
        SiWetEtching = 1,
        MooreDeposition = 2,
        MooreEtching = 3,
        Cvd = 4,
        IsotropicEtching = 5,
        Planarization = 6,
        Electroplating = 7,
        Doping = 8,
        SpinCoating = 9,
        SaveImage = 10,
        CreateSubstrate = 11,
        Pvd = 12,
        SimpleRie = 13,
        IonImplantation = 14,
        SiOxidation = 15
    };

    static bool isKnown(quint32 type) { return type <= SiOxidation; }
    /// The name in a list; "Unknown process" for any other code.
    static QString name(quint32 type);
    /// The text offered for adding a step of the type; empty for an unknown code.
    static QString addText(quint32 type);
    /// The codes in the order they are offered for adding.
    static QList<quint32> addOrder();
};

} // namespace Operations
} // namespace Core

#endif
