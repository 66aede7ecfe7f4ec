#ifndef CELVANE_CORE_OPERATIONS_BATCHRUN_STEPPARAMETERS_H
#define CELVANE_CORE_OPERATIONS_BATCHRUN_STEPPARAMETERS_H

#include "Util/vector3dmetatype.h"

#include <QMap>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include <vector>

// Mask bits travel in QVariants as one value.
Q_DECLARE_METATYPE(std::vector<bool>)

namespace Core {
namespace Operations {

/// Reads the named parameters of one process step for its executor. Every read that finds its
/// parameter missing or not convertible fails and keeps the first such reason, so an executor
/// reads everything it needs and then checks ok() once.
class StepParameters
{
public:
    explicit StepParameters(const QVariantMap &parameters) : parameters(parameters) {}

    quint32 toUInt(const QString &name);
    qint32 toInt(const QString &name);
    /// Finite numbers only.
    float toFloat(const QString &name);
    double toDouble(const QString &name);
    /// A bool, or the texts "true" and "false".
    bool toBool(const QString &name);
    QString toString(const QString &name);
    Util::Vector3D toVector3D(const QString &name);
    std::vector<bool> toBits(const QString &name);

    /// Whether the step holds the parameter at all (for parameters that may be left out).
    bool contains(const QString &name) const { return parameters.value(name).isValid(); }

    bool ok() const { return reason.isEmpty(); }
    /// Why the first failed read failed; empty when none did.
    QString getReason() const { return reason; }
    /// Records a failure found by the executor itself (the first one counts).
    void fail(const QString &why);

private:
    /// The value, or an invalid QVariant after recording that it is missing.
    QVariant find(const QString &name);
    void notConverted(const QString &name, const char *kind);

    const QVariantMap &parameters;
    QString reason;
};

} // namespace Operations
} // namespace Core

#endif
