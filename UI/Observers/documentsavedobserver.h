#ifndef CELVANE_UI_OBSERVERS_DOCUMENTSAVEDOBSERVER_H
#define CELVANE_UI_OBSERVERS_DOCUMENTSAVEDOBSERVER_H

#include "Util/iobserver.h"

#include <QPointer>

namespace Ui {

class MainWindow;

namespace Observers {

/// After a save: the window title shows the file, or a message box says why it failed.
class DocumentSavedObserver : public Util::IObserver
{
public:
    explicit DocumentSavedObserver(MainWindow *mainWindow);
    void update() override;

private:
    QPointer<MainWindow> mainWindow;
};

} // namespace Observers
} // namespace Ui

#endif
