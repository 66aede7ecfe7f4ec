#ifndef CELVANE_UI_OBSERVERS_UPDATEOBSERVER_H
#define CELVANE_UI_OBSERVERS_UPDATEOBSERVER_H

#include "Util/iobserver.h"

#include <QObject>

namespace Ui {
namespace Observers {

/// Turns a model change into a repaint of the 3D view.
class UpdateObserver : public QObject, public Util::IObserver
{
    Q_OBJECT

public:
    void update() override { Q_EMIT updateGL(); }

Q_SIGNALS:
    void updateGL();
};

} // namespace Observers
} // namespace Ui

#endif
