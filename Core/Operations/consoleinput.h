#ifndef CELVANE_CORE_OPERATIONS_CONSOLEINPUT_H
#define CELVANE_CORE_OPERATIONS_CONSOLEINPUT_H

#include "Util/iobserver.h"
#include "Util/vector3d.h"

#include <QtGlobal>

#include <string>

namespace Core {
namespace Operations {

class Operation;

/// The model behind the command console: the one pending request of the running operation,
/// the parsing of typed lines, and the messages written for the user.
class ConsoleInput
{
public:
    enum InputType : quint32
    {
        Integer = 0,
        Float = 1,
        Coordinates = 2,
        Text = 3,
        AnyLine = 4,
        None = 5
    };

    ConsoleInput();

    /// The operation waits for Enter/Return. A different waiting operation is ended first.
    void requestEnter(Operation *operation);
    /// The operation waits for "x, y, z"; receivedFlag (may be null) is cleared now and set
    /// when an answer was accepted.
    void requestCoordinates(Operation *operation, Util::Vector3D *target, bool *receivedFlag);
    /// The operation waits for a line of text.
    void requestText(Operation *operation, std::string *target);
    /// Drops the pending request.
    void resetRequest();

    /// One line typed in the console (empty for a bare Enter/Return).
    void submitLine(const std::string &line);
    /// Stores the text as the last message and tells the console observers.
    void writeMessage(const std::string &text);

    void addObserver(const Util::ObserverPtr &observer);

    std::string getLastMessage() const { return lastMessage; }
    /// The last line submitted, whatever it answered.
    std::string getLastInput() const { return lastInput; }
    Operation *getRequester() const { return requester; }
    InputType getType() const { return type; }
    bool isEnterRequested() const { return enterRequested; }

    /// Targets for the request kinds that have no request function of their own.
    void setIntegerTarget(int *target) { integerTarget = target; }
    void setFloatTarget(double *target) { floatTarget = target; }
    void setType(InputType t) { type = t; }

    /// The command words: reserved, and doing nothing.
    static bool isCommandWord(const std::string &line);

private:
    /// Ends a different operation that still waits for input.
    void replaceRequester(Operation *operation);
    /// Parses line by type; writes the parse error and returns false on failure.
    bool parse(const std::string &line);

    Operation *requester;
    std::string *textTarget;
    double *floatTarget;
    int *integerTarget;
    Util::Vector3D *coordinatesTarget;
    InputType type;
    bool *receivedFlag;
    bool *enterReceivedFlag;
    bool enterRequested;
    std::string lastMessage;
    std::string lastInput;
    Util::ObserverList consoleObservers;
};

} // namespace Operations
} // namespace Core

#endif
