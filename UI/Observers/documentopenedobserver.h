#ifndef CELVANE_UI_OBSERVERS_DOCUMENTOPENEDOBSERVER_H
#define CELVANE_UI_OBSERVERS_DOCUMENTOPENEDOBSERVER_H

#include "Util/iobserver.h"

namespace Ui {
namespace Observers {

/// Opens the chosen document in a new main window of its own.
class DocumentOpenedObserver : public Util::IObserver
{
public:
    void update() override;
};

} // namespace Observers
} // namespace Ui

#endif
