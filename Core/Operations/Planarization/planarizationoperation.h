#ifndef CELVANE_CORE_OPERATIONS_PLANARIZATIONOPERATION_H
#define CELVANE_CORE_OPERATIONS_PLANARIZATIONOPERATION_H

#include "Core/Operations/classwideprocessoperation.h"

namespace Core {
namespace Operations {

/// Removes every cell above a maximum and below a minimum height.
class PlanarizationOperation : public ClassWideProcessOperation<PlanarizationOperation>
{
public:
    explicit PlanarizationOperation(Workspace &workspace);

    void setMaximumHeight(quint32 value) { flagInput(maximumHeight, maximumSet, value); }
    void setMinimumHeight(quint32 value) { flagInput(minimumHeight, minimumSet, value); }
    quint32 getMaximumHeight() const { return maximumHeight; }
    quint32 getMinimumHeight() const { return minimumHeight; }

protected:
    bool inputsComplete() const override { return maximumSet && minimumSet; }
    bool runWorker(std::string &failure) override;
    bool changesSilicon() const override { return true; }
    std::string cancelText() const override { return ": Operation canceled!"; }

private:
    quint32 maximumHeight;
    quint32 minimumHeight;
    bool maximumSet;
    bool minimumSet;
};

} // namespace Operations
} // namespace Core

#endif
