#ifndef CELVANE_CORE_OPERATIONS_SIETCHING_CONTINOUSWETETCHOPERATION_H
#define CELVANE_CORE_OPERATIONS_SIETCHING_CONTINOUSWETETCHOPERATION_H

#include "Core/Operations/SiEtching/wetetchoperation.h"

namespace Core {
namespace Operations {

/// Anisotropic wet etching of the silicon of one cell volume as a continuous cellular
/// automaton ("Continuous Wet Etch").
class ContinousWetEtchOperation : public WetEtchOperation
{
public:
    explicit ContinousWetEtchOperation(Workspace &workspace);

protected:
    bool runEngine(std::string &failure) override;
};

} // namespace Operations
} // namespace Core

#endif
