#include "UI/BatchRun/processdata.h"

#include <QAtomicInteger>

namespace Ui {

namespace {
QAtomicInteger<quint32> serialCounter(0);
}

ProcessData::ProcessData(quint32 processType)
    : serial(serialCounter.fetchAndAddRelaxed(1)), processType(processType)
{}

void ProcessData::addParameter(const QString &name, const QVariant &value, bool visible)
{
    parameters.insert(name, value);
    visibility.insert(name, visible);
}

} // namespace Ui
