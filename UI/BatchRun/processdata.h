#ifndef CELVANE_UI_BATCHRUN_PROCESSDATA_H
#define CELVANE_UI_BATCHRUN_PROCESSDATA_H

#include "Core/Operations/BatchRun/stepparameters.h"

#include <QMap>
#include <QString>
#include <QVariant>

namespace Ui {

/// One step of a process list: its type code and its named, typed parameters, each shown in
/// the list or not. A value type.
class ProcessData
{
public:
    /// A record of a type with no parameters; it takes the next serial of the program.
    explicit ProcessData(quint32 processType);

    /// Tells records apart while they are moved about in a list.
    quint32 getSerial() const { return serial; }
    quint32 getProcessType() const { return processType; }
    /// Sets the value and its visibility, replacing an earlier value of the same name.
    void addParameter(const QString &name, const QVariant &value, bool visible);
    /// The value, or an invalid QVariant for a name that is not present.
    QVariant getParameter(const QString &name) const { return parameters.value(name); }
    bool isVisible(const QString &name) const { return visibility.value(name, false); }
    const QMap<QString, QVariant> &getParameters() const { return parameters; }
    const QMap<QString, bool> &getVisibility() const { return visibility; }

private:
    quint32 serial;
    quint32 processType;
    QMap<QString, QVariant> parameters;
    QMap<QString, bool> visibility;
};

} // namespace Ui

#endif
