#ifndef CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOODETCHINGOPERATION_H
#define CELVANE_CORE_OPERATIONS_MOORENEIGHBORHOODETCHINGOPERATION_H

#include "Core/Operations/MooreNeighborhood/mooreneighborhoodoperation.h"

namespace Core {
namespace Operations {

/// Moore-neighbourhood etching: one layer of cells per step, square edges and corners.
class MooreNeighborhoodEtchingOperation : public MooreNeighborhoodOperation
{
public:
    explicit MooreNeighborhoodEtchingOperation(Workspace &workspace);

protected:
    bool runWorker(std::string &failure) override;
};

} // namespace Operations
} // namespace Core

#endif
