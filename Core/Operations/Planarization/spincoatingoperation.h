#ifndef CELVANE_CORE_OPERATIONS_SPINCOATINGOPERATION_H
#define CELVANE_CORE_OPERATIONS_SPINCOATINGOPERATION_H

#include "Core/Operations/processoperation.h"

namespace Core {
namespace Operations {

/// Pours a material into every empty cell below a height. Not undoable.
class SpinCoatingOperation : public ProcessOperation<Operation>
{
public:
    explicit SpinCoatingOperation(Workspace &workspace);

    void setMaterial(quint32 value);
    void setHeight(quint32 value);
    quint32 getMaterial() const { return material; }
    quint32 getHeight() const { return height; }

    /// The observer every spin-coating operation notifies.
    static void setClassObserver(const Util::ObserverPtr &observer);

protected:
    bool inputsComplete() const override { return materialSet && heightSet; }
    bool runProcess(std::string &failure) override;

private:
    quint32 material;
    quint32 height;
    bool materialSet;
    bool heightSet;
};

} // namespace Operations
} // namespace Core

#endif
