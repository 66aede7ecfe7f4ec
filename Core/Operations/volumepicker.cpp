#include "Core/Operations/volumepicker.h"

#include "Core/Operations/operation.h"
#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

using Model::Automaton::TotalVolume;

TotalVolume::Ptr VolumePicker::takeFirst(Workspace &workspace, Operation *operation,
                                         const std::string &prompt, const std::string &prefix)
{
    TotalVolume::Ptr volume;
    for (const boost::shared_ptr<Model::Object> &object : workspace.getPickState().getSelection()) {
        volume = boost::dynamic_pointer_cast<TotalVolume>(object);
        if (volume)
            break;
    }
    if (!volume) {
        workspace.getConsoleInput().writeMessage((prefix.empty() ? operation->getName() : prefix) +
                                                 prompt);
        workspace.getConsoleInput().requestEnter(operation);
        workspace.getSelection().setSelectionMode(true);
        return volume;
    }
    workspace.getSelection().clearSelection();
    workspace.getSelection().setSelectionMode(false);
    workspace.notifyUpdate();
    return volume;
}

} // namespace Operations
} // namespace Core
