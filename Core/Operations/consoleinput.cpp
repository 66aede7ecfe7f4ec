#include "Core/Operations/consoleinput.h"

#include "Core/Operations/operation.h"

#include <boost/lexical_cast.hpp>

#include <limits>
#include <sstream>

namespace Core {
namespace Operations {

namespace {

const char *const commandWords[] = {
    "rect",  "l",       "polygon", "undo", "redo",       "copy",    "move",     "del",   "sel",
    "color", "rotate",  "new",     "open", "save",       "close",   "render",   "light", "edge",
    "axis",  "extrude", "ext",     "cr",   "copyrotate", "setview", "set view", "+"};

bool readCoordinates(const std::string &line, Util::Vector3D *target)
{
    std::istringstream in(line);
    in.imbue(std::locale::classic());
    for (int i = 0; i < 3; ++i) {
        double value = 0.0;
        if (!(in >> value))
            return false;
        (*target)[i] = value;
        if (i < 2)
            in.ignore(100, ',');
    }
    return true;
}

} // namespace

ConsoleInput::ConsoleInput()
    : requester(nullptr), textTarget(nullptr), floatTarget(nullptr), integerTarget(nullptr),
      coordinatesTarget(nullptr), type(None), receivedFlag(nullptr), enterReceivedFlag(nullptr),
      enterRequested(false)
{}

void ConsoleInput::replaceRequester(Operation *operation)
{
    if (requester && requester != operation) {
        Operation *waiting = requester;
        // The waiting operation is ended before the new one takes the console over.
        requester = nullptr;
        enterRequested = false;
        type = None;
        receivedFlag = nullptr;
        waiting->end();
    }
}

void ConsoleInput::requestEnter(Operation *operation)
{
    replaceRequester(operation);
    requester = operation;
    enterRequested = true;
}

void ConsoleInput::requestCoordinates(Operation *operation, Util::Vector3D *target, bool *flag)
{
    replaceRequester(operation);
    if (flag)
        *flag = false;
    requester = operation;
    coordinatesTarget = target;
    receivedFlag = flag;
    type = Coordinates;
}

void ConsoleInput::requestText(Operation *operation, std::string *target)
{
    replaceRequester(operation);
    requester = operation;
    textTarget = target;
    receivedFlag = nullptr;
    type = Text;
}

void ConsoleInput::resetRequest()
{
    type = None;
    requester = nullptr;
    receivedFlag = nullptr;
    enterRequested = false;
}

bool ConsoleInput::parse(const std::string &line)
{
    switch (type) {
    case Integer: {
        int value = 0;
        if (!boost::conversion::try_lexical_convert(line, value)) {
            writeMessage("Invalid entry. Please enter an intenger");
            return false;
        }
        if (integerTarget)
            *integerTarget = value;
        return true;
    }
    case Float: {
        double value = 0.0;
        if (!boost::conversion::try_lexical_convert(line, value)) {
            writeMessage("Invalid entry. Please enter a floating point value");
            return false;
        }
        if (floatTarget)
            *floatTarget = value;
        return true;
    }
    case Coordinates: {
        Util::Vector3D scratch;
        if (!readCoordinates(line, coordinatesTarget ? coordinatesTarget : &scratch)) {
            writeMessage("Invalid entry. Enter the x, y, z coordinates.");
            return false;
        }
        return true;
    }
    case Text:
        if (textTarget)
            *textTarget = line;
        return true;
    case AnyLine:
        return true;
    case None:
        break;
    }
    return false;
}

void ConsoleInput::submitLine(const std::string &line)
{
    lastInput = line;
    if (requester && !line.empty() && type != None) {
        if (parse(line)) {
            Operation *former = requester;
            requester = nullptr;
            type = None;
            if (receivedFlag)
                *receivedFlag = true;
            former->execute();
            return;
        }
    }
    if (requester && enterRequested) {
        if (enterReceivedFlag)
            *enterReceivedFlag = true;
        Operation *former = requester;
        requester = nullptr;
        enterRequested = false;
        former->execute();
        return;
    }
    // Reserved command words and unmatched lines alike do nothing.
    isCommandWord(line);
}

bool ConsoleInput::isCommandWord(const std::string &line)
{
    for (const char *word : commandWords) {
        if (line == word)
            return true;
    }
    return false;
}

void ConsoleInput::writeMessage(const std::string &text)
{
    lastMessage = text;
    Util::notifyAll(consoleObservers);
}

void ConsoleInput::addObserver(const Util::ObserverPtr &observer)
{
    if (observer)
        consoleObservers.append(observer);
}

} // namespace Operations
} // namespace Core
