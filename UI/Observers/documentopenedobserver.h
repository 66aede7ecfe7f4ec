#ifndef CELVANE_UI_OBSERVERS_DOCUMENTOPENEDOBSERVER_H
#define CELVANE_UI_OBSERVERS_DOCUMENTOPENEDOBSERVER_H

#include "Util/iobserver.h"

#include <QString>

namespace Ui {
namespace Observers {

/// Opens the chosen document in a new main window of its own.
class DocumentOpenedObserver : public Util::IObserver
{
public:
    void update() override;
    /// Opens fileName in a new main window, or says why it cannot; false when no window opened.
    static bool open(const QString &fileName);
};

} // namespace Observers
} // namespace Ui

#endif
