#ifndef CELVANE_CORE_OPERATIONS_VOLUMEPICKER_H
#define CELVANE_CORE_OPERATIONS_VOLUMEPICKER_H

#include "Model/Automaton/totalvolume.h"

#include <string>

namespace Core {
namespace Operations {

class Operation;
class Workspace;

/// The selection step of operations that act on one cell volume.
class VolumePicker
{
public:
    /// Takes the first cell volume of the pick snapshot: the selection is cleared, picking
    /// switched off and the view repainted. Without one, writes the operation's name followed
    /// by prompt, asks the console for Enter on behalf of operation and switches picking on;
    /// the result is then empty. prefix, when given, stands for the name in the prompt.
    static Model::Automaton::TotalVolume::Ptr takeFirst(Workspace &workspace, Operation *operation,
                                                        const std::string &prompt,
                                                        const std::string &prefix = std::string());
};

} // namespace Operations
} // namespace Core

#endif
