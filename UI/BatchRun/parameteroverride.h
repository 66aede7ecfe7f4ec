#ifndef CELVANE_UI_BATCHRUN_PARAMETEROVERRIDE_H
#define CELVANE_UI_BATCHRUN_PARAMETEROVERRIDE_H

#include "UI/BatchRun/processdata.h"

#include <QList>
#include <QString>

namespace Ui {

/// One parameter of one step of a process list replaced from outside the file ("3:Depth=2.5"
/// on the command line), so that variants of a flow run without editing the list.
class ParameterOverride
{
public:
    /// Reads STEP:NAME=VALUE (STEP counted from 1). False, with the reason, when the text does
    /// not have that form.
    static bool parse(const QString &text, ParameterOverride *result, QString *reason);
    /// The type a parameter of a step type has in process-list files ("double", "uint",
    /// "vector", "Util::Vector3D", ...); empty for a name the type does not have.
    static QString parameterType(quint32 processType, const QString &name);

    /// Sets the parameter in the list, with the value converted to the parameter's type. False,
    /// with the reason and the list unchanged, for a step that is not in the list, a name its
    /// type does not have, or a value that does not convert.
    bool apply(QList<ProcessData> &list, QString *reason) const;

    int getStep() const { return step; }
    QString getName() const { return name; }
    QString getValue() const { return value; }

private:
    int step = 0;
    QString name;
    QString value;
};

} // namespace Ui

#endif
