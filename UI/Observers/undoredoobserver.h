#ifndef CELVANE_UI_OBSERVERS_UNDOREDOOBSERVER_H
#define CELVANE_UI_OBSERVERS_UNDOREDOOBSERVER_H

#include "Util/iobserver.h"

#include <QObject>

namespace Ui {
namespace Observers {

/// Tells the presenter that one stack of the history changed.
class UndoRedoObserver : public QObject, public Util::IObserver
{
    Q_OBJECT

public:
    void update() override { Q_EMIT stackChanged(); }

Q_SIGNALS:
    void stackChanged();
};

} // namespace Observers
} // namespace Ui

#endif
