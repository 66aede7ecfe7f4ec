#ifndef CELVANE_CORE_OPERATIONS_PROCESSOPERATION_H
#define CELVANE_CORE_OPERATIONS_PROCESSOPERATION_H

#include "Core/Operations/cellchecksum.h"
#include "Core/Operations/objectoperation.h"
#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"
#include "Util/progress.h"

#include <QString>

#include <new>
#include <string>

namespace Core {
namespace Operations {

/// The observer shared by every operation of one class (those whose dialog observer is
/// installed once for the class rather than per operation).
template <class Op> class ClassWideObserver
{
public:
    static Util::ObserverPtr &get()
    {
        static Util::ObserverPtr observer;
        return observer;
    }
};

/// The shell every cell-volume process operation follows: take a cell volume from the
/// selection (or ask for one), let the observer open the options dialog, and when the inputs
/// are complete run the worker and commit (picture rebuilt, silicon lattice marked stale,
/// repaint, ": Operation finished.", history). Base is Operation or ObjectOperation; the
/// operations say which inputs they count and how they run.
template <class Base> class ProcessOperation : public Base
{
public:
    typedef Model::Automaton::TotalVolume::Ptr VolumePtr;

    void setObserver(const Util::ObserverPtr &o) { observer = o; }
    VolumePtr getVolume() const { return volume; }
    int getInputCount() const { return inputCount; }

    /// The selection step; later calls do nothing once a volume is taken.
    void execute() override
    {
        if (inputCount != 0)
            return;
        VolumePtr found = chooseVolume();
        if (!found) {
            this->writeMessage(": Select a cell volume and press Enter/Return.");
            this->workspace.getConsoleInput().requestEnter(this);
            this->workspace.getSelection().setSelectionMode(true);
            return;
        }
        volume = found;
        this->workspace.getSelection().clearSelection();
        this->workspace.getSelection().setSelectionMode(false);
        this->workspace.notifyUpdate();
        this->writeMessage(": Cell volume selected.");
        volumeTaken();
    }

    void cancel() override
    {
        this->writeMessage(cancelText());
        this->workspace.getConsoleInput().resetRequest();
        this->clearIfCurrent();
    }

    /// Runs and commits when the inputs are complete; otherwise cancels.
    void end() override
    {
        if (!inputsComplete() || !volume) {
            cancel();
            return;
        }
        std::string failure;
        bool ran = false;
        // A step that changed nothing (doping under a full cover) must not read as one that
        // worked: compare fingerprints rather than keep a copy of a possibly huge volume.
        const quint64 before = CellChecksum::ofMaterials(*volume);
        Util::Progress progress;
        const bool cancellable = isCancellable();
        this->workspace.runStep(this->getName(), progress, cancellable, [&]() {
            try {
                ran = runProcess(failure);
            } catch (const std::bad_alloc &) {
                failure = "out of memory";
                ran = false;
            }
        });
        // A Cancel pressed after the worker's last check still counts: the user was told the
        // step is canceling, so it must not be committed.
        if (cancellable && progress.isCanceled()) {
            // Stopped by the user: the cells go back to what they were and nothing is recorded.
            recoverFromFailure();
            this->writeMessage(": Operation Canceled!");
            volume->getPainter().refresh();
            this->workspace.notifyUpdate();
            this->workspace.getConsoleInput().resetRequest();
            this->clearIfCurrent();
            return;
        }
        if (!ran) {
            recoverFromFailure();
            this->writeMessage(": Operation failed: " + failure + ".");
            volume->getPainter().refresh();
            this->workspace.notifyUpdate();
            this->workspace.getConsoleInput().resetRequest();
            this->clearIfCurrent();
            return;
        }
        afterRun();
        const bool unchanged = CellChecksum::ofMaterials(*volume) == before;
        this->workspace.getDocument().setModified(true);
        // Before the picture: a crystal on view is rebuilt to fit the new cells.
        if (changesSilicon())
            this->workspace.markLatticeStale(*volume);
        refreshPicture();
        this->workspace.notifyUpdate();
        if (unchanged)
            this->writeMessage(": no cell changed.");
        this->writeMessage(": Operation finished.");
        this->workspace.getConsoleInput().resetRequest();
        this->finish();
    }

protected:
    ProcessOperation(Workspace &workspace, const std::string &name, quint32 id)
        : Base(workspace, name, id), inputCount(0)
    {}

    /// The cell volume the step works on, from the selection; null when there is none.
    virtual VolumePtr chooseVolume() const
    {
        VolumePtr found;
        for (const PickState::ObjectPtr &object : this->workspace.getPickState().getSelection()) {
            VolumePtr candidate =
                boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
            if (candidate)
                found = candidate; // the last one selected wins
        }
        return found;
    }
    /// Rebuilds the volume's picture after a successful run.
    virtual void refreshPicture() { volume->getPainter().refresh(); }
    /// A volume was taken: count it and open the options dialog through the observer.
    virtual void volumeTaken()
    {
        inputCount = 1;
        if (observer) {
            inputCount = 2;
            observer->update();
        }
    }
    /// All inputs arrived (the default: the volume, the dialog and its values).
    virtual bool inputsComplete() const = 0;
    /// Runs the worker on the volume; false with a reason when it could not.
    virtual bool runProcess(std::string &failure) = 0;
    /// Anything to do between a successful run and the commit.
    virtual void afterRun() {}
    /// After a failed or cancelled run: put the cells back where that is possible.
    virtual void recoverFromFailure() {}
    /// True when recoverFromFailure() puts the cells back exactly as they were before the run:
    /// only then may the user cancel a run.
    virtual bool isCancellable() const { return false; }
    /// True when the run may have changed silicon (the lattice must then be rebuilt).
    virtual bool changesSilicon() const { return false; }
    virtual std::string cancelText() const { return ": Operation canceled."; }

    /// An input arrived that counts towards inputCount.
    template <class T> void countInput(T &field, T value)
    {
        field = value;
        ++inputCount;
    }
    /// An input arrived that its own flag records.
    template <class T> static void flagInput(T &field, bool &given, T value)
    {
        field = value;
        given = true;
    }
    /// Runs worker.run(&error) (run: a member such as &Worker::runDeposition); false with the
    /// worker's reason in failure when it could not.
    template <class Worker, class Run>
    static bool runReporting(Worker &&worker, Run run, std::string &failure)
    {
        QString error;
        if ((worker.*run)(&error))
            return true;
        failure = error.toStdString();
        return false;
    }

    VolumePtr volume;
    int inputCount;
    Util::ObserverPtr observer;
};

} // namespace Operations
} // namespace Core

#endif
