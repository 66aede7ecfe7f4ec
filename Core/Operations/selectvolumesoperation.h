#ifndef CELVANE_CORE_OPERATIONS_SELECTVOLUMESOPERATION_H
#define CELVANE_CORE_OPERATIONS_SELECTVOLUMESOPERATION_H

#include "Core/Operations/operation.h"
#include "Model/Automaton/totalvolume.h"
#include "Util/iobserver.h"

namespace Core {
namespace Operations {

/// Names the cell volume a batch run works on (or none, when the user types N).
class SelectVolumesOperation : public Operation
{
public:
    explicit SelectVolumesOperation(Workspace &workspace);

    void execute() override;
    void cancel() override;
    void end() override;

    void setObserver(const Util::ObserverPtr &observer) { this->observer = observer; }
    /// The chosen volume; empty when the run starts without one.
    Model::Automaton::TotalVolume::Ptr getVolume() const { return volume; }
    bool isDone() const { return done; }

private:
    void finishSelection();

    Model::Automaton::TotalVolume::Ptr volume;
    bool done;
    bool prompted;
    Util::ObserverPtr observer;
};

} // namespace Operations
} // namespace Core

#endif
