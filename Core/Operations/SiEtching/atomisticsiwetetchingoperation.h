#ifndef CELVANE_CORE_OPERATIONS_SIETCHING_ATOMISTICSIWETETCHINGOPERATION_H
#define CELVANE_CORE_OPERATIONS_SIETCHING_ATOMISTICSIWETETCHINGOPERATION_H

#include "Core/Operations/SiEtching/wetetchoperation.h"

namespace Core {
namespace Operations {

/// Anisotropic wet etching of the silicon of one cell volume by bond counting ("BCA Wet
/// Etch").
class AtomisticSiWetEtchingOperation : public WetEtchOperation
{
public:
    explicit AtomisticSiWetEtchingOperation(Workspace &workspace);

protected:
    bool runEngine(std::string &failure) override;
};

} // namespace Operations
} // namespace Core

#endif
