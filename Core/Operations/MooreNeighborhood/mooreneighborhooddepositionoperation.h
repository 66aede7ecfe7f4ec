#ifndef CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOODDEPOSITIONOPERATION_H
#define CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOODDEPOSITIONOPERATION_H

#include "Core/Operations/MooreNeighborhood/mooreneighborhoodoperation.h"

namespace Core {
namespace Operations {

/// Moore-neighbourhood deposition: one layer of cells per step, square edges and corners.
class MooreNeighborhoodDepositionOperation : public MooreNeighborhoodOperation
{
public:
    explicit MooreNeighborhoodDepositionOperation(Workspace &workspace);

protected:
    bool runWorker(std::string &failure) override;
};

} // namespace Operations
} // namespace Core

#endif
