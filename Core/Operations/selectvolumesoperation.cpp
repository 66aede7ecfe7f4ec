#include "Core/Operations/selectvolumesoperation.h"

#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

SelectVolumesOperation::SelectVolumesOperation(Workspace &workspace)
    : Operation(workspace, "Select volumes", 24), done(false), prompted(false)
{}

void SelectVolumesOperation::execute()
{
    if (done)
        return;
    for (const PickState::ObjectPtr &object : workspace.getPickState().getSelection()) {
        volume = boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
        if (volume)
            break;
    }
    if (volume) {
        workspace.getSelection().clearSelection();
        workspace.getSelection().setSelectionMode(false);
        workspace.notifyUpdate();
        writeMessage(": Cell volume selected.");
        finishSelection();
        return;
    }
    ConsoleInput &console = workspace.getConsoleInput();
    // Only an answer to this operation's own prompt counts: an "n..." typed for something
    // earlier must not start the run without a volume unasked.
    const std::string last = console.getLastInput();
    if (prompted && !last.empty() && (last[0] == 'n' || last[0] == 'N')) {
        workspace.getSelection().setSelectionMode(false);
        finishSelection();
        return;
    }
    writeMessage(": Select a cell volume and press Enter/Return. To start without a cell "
                 "volume type N and press Enter/Return.");
    // Enter/Return answers with the picked volume, any typed line (N) without one.
    console.requestEnter(this);
    console.setType(ConsoleInput::AnyLine);
    prompted = true;
    workspace.getSelection().setSelectionMode(true);
}

void SelectVolumesOperation::finishSelection()
{
    done = true;
    end();
}

void SelectVolumesOperation::end()
{
    if (!done) {
        cancel();
        return;
    }
    workspace.getConsoleInput().resetRequest();
    if (observer)
        observer->update();
    clearIfCurrent();
}

void SelectVolumesOperation::cancel()
{
    workspace.getConsoleInput().resetRequest();
    writeMessage(": Operation canceled.");
    clearIfCurrent();
}

} // namespace Operations
} // namespace Core
