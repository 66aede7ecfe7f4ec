#include "Core/Operations/BatchRun/stepparameters.h"

#include <cmath>

namespace Core {
namespace Operations {

void StepParameters::fail(const QString &why)
{
    if (reason.isEmpty())
        reason = why;
}

QVariant StepParameters::find(const QString &name)
{
    const auto it = parameters.constFind(name);
    if (it == parameters.constEnd() || !it.value().isValid()) {
        fail(QStringLiteral("parameter \"%1\" is missing").arg(name));
        return QVariant();
    }
    return it.value();
}

void StepParameters::notConverted(const QString &name, const char *kind)
{
    fail(QStringLiteral("parameter \"%1\" is not %2").arg(name, QLatin1String(kind)));
}

quint32 StepParameters::toUInt(const QString &name)
{
    const QVariant value = find(name);
    if (!value.isValid())
        return 0;
    bool converted = false;
    quint32 result = 0;
    // A negative or fractional number must not wrap round or truncate into a count.
    if (value.userType() == QMetaType::Double || value.userType() == QMetaType::Float) {
        const double d = value.toDouble();
        converted = d >= 0.0 && d <= 4294967295.0 && d == std::floor(d);
        result = converted ? quint32(d) : 0;
    } else if (value.userType() == QMetaType::Int || value.userType() == QMetaType::LongLong) {
        const qlonglong l = value.toLongLong();
        converted = l >= 0 && l <= 4294967295LL;
        result = converted ? quint32(l) : 0;
    } else {
        result = value.toUInt(&converted);
    }
    if (!converted)
        notConverted(name, "a whole number of at least 0");
    return converted ? result : 0;
}

qint32 StepParameters::toInt(const QString &name)
{
    const QVariant value = find(name);
    if (!value.isValid())
        return 0;
    bool converted = false;
    qint32 result = 0;
    if (value.userType() == QMetaType::UInt) {
        converted = value.toUInt() <= 2147483647u;
        result = converted ? qint32(value.toUInt()) : 0;
    } else {
        result = value.toInt(&converted);
    }
    if (!converted)
        notConverted(name, "a whole number");
    return converted ? result : 0;
}

double StepParameters::toDouble(const QString &name)
{
    const QVariant value = find(name);
    if (!value.isValid())
        return 0.0;
    bool converted = false;
    const double result = value.toDouble(&converted);
    if (!converted || !std::isfinite(result)) {
        notConverted(name, "a number");
        return 0.0;
    }
    return result;
}

float StepParameters::toFloat(const QString &name)
{
    const double d = toDouble(name);
    if (std::fabs(d) > 3.4e38) {
        notConverted(name, "a number in range");
        return 0.0f;
    }
    return float(d);
}

bool StepParameters::toBool(const QString &name)
{
    const QVariant value = find(name);
    if (!value.isValid())
        return false;
    if (value.userType() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString();
    if (text == QLatin1String("true"))
        return true;
    if (text != QLatin1String("false"))
        notConverted(name, "true or false");
    return false;
}

QString StepParameters::toString(const QString &name)
{
    const QVariant value = find(name);
    if (!value.isValid())
        return QString();
    if (!value.canConvert<QString>()) {
        notConverted(name, "a text");
        return QString();
    }
    return value.toString();
}

Util::Vector3D StepParameters::toVector3D(const QString &name)
{
    const QVariant value = find(name);
    if (!value.isValid())
        return Util::Vector3D();
    if (value.userType() != qMetaTypeId<Util::Vector3D>()) {
        notConverted(name, "a vector");
        return Util::Vector3D();
    }
    const Util::Vector3D v = value.value<Util::Vector3D>();
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) {
        notConverted(name, "a vector of numbers");
        return Util::Vector3D();
    }
    return v;
}

std::vector<bool> StepParameters::toBits(const QString &name)
{
    const QVariant value = find(name);
    if (!value.isValid())
        return std::vector<bool>();
    if (value.userType() != qMetaTypeId<std::vector<bool>>()) {
        notConverted(name, "a mask");
        return std::vector<bool>();
    }
    return value.value<std::vector<bool>>();
}

} // namespace Operations
} // namespace Core
