#include "UI/BatchRun/parameteroverride.h"

#include "Core/Operations/BatchRun/processsteptypes.h"
#include "UI/BatchRun/processlistarchiver.h"

#include <QHash>

#include <cmath>

namespace Ui {

namespace {

using Types = Core::Operations::ProcessStepTypes;

typedef QHash<QString, QString> NameTypes;

/// A material as steps store it: its id (the name without spaces, then "Id"), its name and
/// its colour.
NameTypes materialParameters(const QString &name = QStringLiteral("Material"))
{
    return {{QString(name).remove(QLatin1Char(' ')) + QStringLiteral("Id"), QStringLiteral("uint")},
            {name, QStringLiteral("QString")},
            {name + QStringLiteral("_Color"), QStringLiteral("QColor")}};
}

/// A photolithography mask drawn in a GDSII layout, for each side.
NameTypes layoutMaskParameters()
{
    NameTypes types;
    for (const QString &side : {QStringLiteral("Top Mask"), QStringLiteral("Bottom Mask")}) {
        types.insert(side + QStringLiteral(" Layout"), QStringLiteral("QString"));
        types.insert(side + QStringLiteral(" Cell"), QStringLiteral("QString"));
        types.insert(side + QStringLiteral(" Layer"), QStringLiteral("int"));
        types.insert(side + QStringLiteral(" Scale"), QStringLiteral("double"));
        types.insert(side + QStringLiteral(" Offset X"), QStringLiteral("double"));
        types.insert(side + QStringLiteral(" Offset Y"), QStringLiteral("double"));
    }
    return types;
}

NameTypes joined(NameTypes a, const NameTypes &b)
{
    for (auto it = b.constBegin(); it != b.constEnd(); ++it)
        a.insert(it.key(), it.value());
    return a;
}

/// The parameters each step type stores in a process-list file, with their types.
const QHash<quint32, NameTypes> &parameterTable()
{
    const QString d = QStringLiteral("double"), f = QStringLiteral("float"),
                  u = QStringLiteral("uint"), i = QStringLiteral("int"), b = QStringLiteral("bool"),
                  s = QStringLiteral("QString"), c = QStringLiteral("QColor"),
                  v = QStringLiteral("vector");
    static const QHash<quint32, NameTypes> table = {
        {Types::Cvd, joined(materialParameters(), {{QStringLiteral("Thickness"), d}})},
        {Types::IsotropicEtching, joined(materialParameters(), {{QStringLiteral("Depth"), d}})},
        {Types::MooreDeposition, joined(materialParameters(), {{QStringLiteral("Thickness"), u}})},
        {Types::MooreEtching, joined(materialParameters(), {{QStringLiteral("Depth"), u}})},
        {Types::Pvd,
         joined(materialParameters(), {{QStringLiteral("Thickness"), d},
                                       {QStringLiteral("DepositOn"), i},
                                       {QStringLiteral("Deposit On"), s},
                                       {QStringLiteral("Horizontal to Vertical Ratio"), d}})},
        {Types::Electroplating,
         joined(joined(materialParameters(QStringLiteral("Conducting Material")),
                       materialParameters(QStringLiteral("Deposited Material"))),
                {{QStringLiteral("Film Thickness"), d}})},
        {Types::Doping, joined(materialParameters(QStringLiteral("Doped Material")),
                               {{QStringLiteral("Doping Depth"), f}})},
        {Types::IonImplantation, joined(materialParameters(QStringLiteral("Doped Material")),
                                        {{QStringLiteral("Annealing Distance"), f},
                                         {QStringLiteral("Implantation Depth"), f}})},
        {Types::Photolithography,
         joined(joined(materialParameters(), {{QStringLiteral("Top Mask"), v},
                                              {QStringLiteral("Top Mask File"), s},
                                              {QStringLiteral("Top Mask Height"), u},
                                              {QStringLiteral("Top Mask Width"), u},
                                              {QStringLiteral("Bottom Mask"), v},
                                              {QStringLiteral("Bottom Mask File"), s},
                                              {QStringLiteral("Bottom Mask Height"), u},
                                              {QStringLiteral("Bottom Mask Width"), u}}),
                layoutMaskParameters())},
        {Types::Planarization,
         {{QStringLiteral("Maximum Height"), u}, {QStringLiteral("Minimum Height"), u}}},
        {Types::SpinCoating, joined(materialParameters(), {{QStringLiteral("Maximum Height"), u}})},
        {Types::SimpleRie, joined(materialParameters(), {{QStringLiteral("Etch Depth"), u},
                                                         {QStringLiteral("EtchDirectionValue"), i},
                                                         {QStringLiteral("Etch Direction"), s}})},
        {Types::SiWetEtching, {{QStringLiteral("Depth"), d}}},
        {Types::SiOxidation,
         {{QStringLiteral("Micron Conversion"), d},
          {QStringLiteral("Oxidation Pressure"), d},
          {QStringLiteral("Oxidation Temperature"), d},
          {QStringLiteral("Oxidation Time"), d},
          {QStringLiteral("OxidationTimeSet"), b},
          {QStringLiteral("Oxidation Thickness"), d},
          {QStringLiteral("OxidationThicknessSet"), b}}},
        {Types::SaveImage, {{QStringLiteral("Filename"), s}}},
        {Types::CreateSubstrate,
         joined(materialParameters(),
                {{QStringLiteral("Lower Left Front Corner"), QStringLiteral("Util::Vector3D")},
                 {QStringLiteral("Volume Size X"), u},
                 {QStringLiteral("Volume Size Y"), u},
                 {QStringLiteral("Volume Size Z"), u},
                 {QStringLiteral("SphericalSubstrate"), b},
                 {QStringLiteral("Substrate Size X"), u},
                 {QStringLiteral("Substrate Size Y"), u},
                 {QStringLiteral("Substrate Size Z"), u},
                 {QStringLiteral("Substrate Delta X"), u},
                 {QStringLiteral("Substrate Delta Y"), u},
                 {QStringLiteral("Substrate Delta Z"), u},
                 {QStringLiteral("Substrate Center X"), u},
                 {QStringLiteral("Substrate Center Y"), u},
                 {QStringLiteral("Substrate Center Z"), u},
                 {QStringLiteral("Substrate Radius"), u}})},
    };
    return table;
}

/// The value of text as a parameter of the type; invalid when it does not convert.
QVariant converted(const QString &type, const QString &text)
{
    if (type == QLatin1String("vector")) {
        for (const QChar ch : text)
            if (ch != QLatin1Char('0') && ch != QLatin1Char('1'))
                return QVariant();
    }
    const QVariant value = ProcessListArchiver::parameterValue(type, text);
    // The archiver keeps a text that does not convert as a text.
    if (type != QLatin1String("QString") && value.userType() == QMetaType::QString)
        return QVariant();
    if (value.userType() == QMetaType::Double && !std::isfinite(value.toDouble()))
        return QVariant();
    if (value.userType() == QMetaType::Float && !std::isfinite(value.toFloat()))
        return QVariant();
    return value;
}

} // namespace

bool ParameterOverride::parse(const QString &text, ParameterOverride *result, QString *reason)
{
    const int colon = text.indexOf(QLatin1Char(':'));
    const int equals = text.indexOf(QLatin1Char('='), colon + 1);
    bool ok = false;
    const int step = colon > 0 ? text.left(colon).toInt(&ok) : 0;
    if (!ok || equals < 0 || equals == colon + 1) {
        *reason = QStringLiteral("--set needs STEP:NAME=VALUE, not \"%1\"").arg(text);
        return false;
    }
    result->step = step;
    result->name = text.mid(colon + 1, equals - colon - 1);
    result->value = text.mid(equals + 1);
    return true;
}

QString ParameterOverride::parameterType(quint32 processType, const QString &name)
{
    return parameterTable().value(processType).value(name);
}

bool ParameterOverride::apply(QList<ProcessData> &list, QString *reason) const
{
    if (step < 1 || step > list.size()) {
        *reason = QStringLiteral("--set %1:%2: the list has no step %1 (it has %3)")
                      .arg(step)
                      .arg(name)
                      .arg(list.size());
        return false;
    }
    ProcessData &data = list[step - 1];
    const QString type = parameterType(data.getProcessType(), name);
    if (type.isEmpty()) {
        *reason = QStringLiteral("--set %1:%2: step %1 (%3) has no parameter \"%2\"")
                      .arg(step)
                      .arg(name, Types::name(data.getProcessType()));
        return false;
    }
    const QVariant parsed = converted(type, value);
    if (!parsed.isValid()) {
        *reason =
            QStringLiteral("--set %1:%2: \"%3\" is no %4 value").arg(step).arg(name, value, type);
        return false;
    }
    const bool visible = data.getParameters().contains(name) ? data.isVisible(name) : true;
    data.addParameter(name, parsed, visible);
    return true;
}

} // namespace Ui
