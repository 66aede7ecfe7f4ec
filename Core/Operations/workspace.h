#ifndef CELVANE_CORE_OPERATIONS_WORKSPACE_H
#define CELVANE_CORE_OPERATIONS_WORKSPACE_H

#include "Core/Operations/consoleinput.h"
#include "Core/Operations/document.h"
#include "Core/Operations/ioperationfactory.h"
#include "Core/Operations/operationhistory.h"
#include "Core/Operations/pickstate.h"
#include "Core/Operations/selection.h"
#include "Core/Operations/volumeprocessrecord.h"
#include "Core/Operations/volumestatestore.h"
#include "Util/iobserver.h"
#include "Util/progress.h"

#include <boost/shared_ptr.hpp>

#include <QString>

#include <functional>
#include <string>

namespace Model {
namespace Automaton {
class TotalVolume;
}
} // namespace Model

namespace Core {
namespace Operations {

class Operation;

/// Everything one main window's operations work on: the running operation, the console
/// input, the pick state, the document, the history, the selection and the state files.
/// GUI thread only.
class Workspace
{
public:
    typedef boost::shared_ptr<Operation> OperationPtr;
    /// Asks the user a yes-or-no question; true means go ahead.
    typedef std::function<bool(const std::string &question)> Confirmation;
    /// Runs the work of a step named name and returns once it has ended, with progress
    /// installed as the current progress of the thread the work runs on (Util::Progress::Scope).
    /// cancellable: the step can put its cells back, so the user may cancel it.
    typedef std::function<void(const std::string &name, Util::Progress &progress, bool cancellable,
                               const std::function<void()> &work)>
        StepRunner;

    Workspace();
    ~Workspace();
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    /// Cancels a running operation, creates the new one and runs its first step. An id
    /// without factory entry returns false and leaves the running operation alone: choosing an
    /// entry that cannot start must not throw away the work in progress.
    bool startOperation(quint32 id);
    /// Calls cancel() on the running operation, which decides whether it stays current.
    void cancelCurrentOperation();
    /// Drops the running operation, clears the selection and repaints.
    void clearCurrentOperation();
    /// Puts an undoable running operation into the history, then as clearCurrentOperation().
    void operationFinished();
    /// Tells the update observers to repaint.
    void notifyUpdate();

    OperationPtr getCurrentOperation() const { return currentOperation; }
    ConsoleInput &getConsoleInput() { return consoleInput; }
    PickState &getPickState() { return pickState; }
    Document &getDocument() { return document; }
    OperationHistory &getHistory() { return history; }
    Selection &getSelection() { return selection; }
    VolumeStateStore &getVolumeStates() { return volumeStates; }
    VolumeProcessRecord &getVolumeRecords() { return volumeRecords; }
    /// A step changed the volume's silicon: its crystal no longer fits the cells. While the
    /// volume shows its crystal it is rebuilt at once (see refreshShownLattice).
    void markLatticeStale(Model::Automaton::TotalVolume &volume);
    /// A volume that shows its crystal (atoms, links or unit cells) gets one that fits its
    /// cells, so the view never shows atoms where the cells hold none. True when a crystal was
    /// built; false when none was needed or it could not be built (then with the reason).
    bool refreshShownLattice(Model::Automaton::TotalVolume &volume, QString *error = nullptr);
    boost::shared_ptr<IOperationFactory> getOperationFactory() const { return operationFactory; }
    void setOperationFactory(const boost::shared_ptr<IOperationFactory> &factory);
    void addUpdateObserver(const Util::ObserverPtr &observer);
    /// The window installs how questions reach the user; without one every answer is yes
    /// (tests, batch runs).
    void setConfirmation(const Confirmation &ask) { confirmation = ask; }
    bool confirm(const std::string &question) const
    {
        return !confirmation || confirmation(question);
    }
    /// The window installs how a step's work runs while the window stays responsive; without
    /// one the work runs on the calling thread before runStep returns (tests, command line).
    void setStepRunner(const StepRunner &runner) { stepRunner = runner; }
    /// Runs a step's work as the installed runner does; returns once the work has ended. The
    /// work may run on another thread: it may touch the step's volume, the state files and the
    /// volume records, which nothing on the GUI thread uses meanwhile, but nothing that notifies
    /// an observer.
    void runStep(const std::string &name, Util::Progress &progress, bool cancellable,
                 const std::function<void()> &work);

private:
    OperationPtr currentOperation;
    // The operation last cleared, kept until the next one is cleared: operations clear
    // themselves from inside their own member functions.
    OperationPtr retiredOperation;
    ConsoleInput consoleInput;
    PickState pickState;
    Document document;
    OperationHistory history;
    Util::ObserverList updateObservers;
    Selection selection;
    VolumeStateStore volumeStates;
    VolumeProcessRecord volumeRecords;
    boost::shared_ptr<IOperationFactory> operationFactory;
    Confirmation confirmation;
    StepRunner stepRunner;
};

} // namespace Operations
} // namespace Core

#endif
