#include "UI/Console/consoleobserver.h"

#include "Core/Operations/consoleinput.h"

namespace Ui {
namespace Console {

ConsoleObserver::ConsoleObserver(Core::Operations::ConsoleInput *input) : input(input) {}

void ConsoleObserver::update()
{
    const std::string message = input->getLastMessage();
    if (!message.empty())
        Q_EMIT messageWritten(QString::fromLatin1(message.data(), int(message.size())));
}

} // namespace Console
} // namespace Ui
