#ifndef CELVANE_UI_CONSOLE_CONSOLEOBSERVER_H
#define CELVANE_UI_CONSOLE_CONSOLEOBSERVER_H

#include "Util/iobserver.h"

#include <QObject>
#include <QString>

namespace Core {
namespace Operations {
class ConsoleInput;
}
} // namespace Core

namespace Ui {
namespace Console {

/// Carries the messages written to the console input over to the console widget.
class ConsoleObserver : public QObject, public Util::IObserver
{
    Q_OBJECT

public:
    explicit ConsoleObserver(Core::Operations::ConsoleInput *input);
    /// Emits the last message, read as Latin-1, unless it is empty.
    void update() override;

Q_SIGNALS:
    void messageWritten(QString message);

private:
    Core::Operations::ConsoleInput *input;
};

} // namespace Console
} // namespace Ui

#endif
