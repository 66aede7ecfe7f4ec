#include "Core/Operations/ReactiveIonEtching/simplereactiveionetchingoperation.h"

#include "Core/Operations/ReactiveIonEtching/simplereactiveionetching.h"

#include <cmath>

namespace Core {
namespace Operations {

SimpleReactiveIonEtchingOperation::SimpleReactiveIonEtchingOperation(Workspace &workspace)
    : UndoableProcessOperation(workspace, "Simple RIE", 30, QStringLiteral("SimpleRIE")),
      material(0), depth(0.0), direction(FromTop), materialSet(false), depthSet(false)
{}

void SimpleReactiveIonEtchingOperation::setEtchFromBelow(bool on)
{
    direction = on ? quint8(direction | FromBelow) : quint8(direction & ~FromBelow);
}

void SimpleReactiveIonEtchingOperation::setEtchFromTop(bool on)
{
    direction = on ? quint8(direction | FromTop) : quint8(direction & ~FromTop);
}

bool SimpleReactiveIonEtchingOperation::runWorker(std::string &failure)
{
    // Whole steps; a depth that is not a finite positive number etches nothing.
    const double whole = std::trunc(depth);
    const quint32 steps = !(whole > 0.0) ? 0 : whole >= 4294967295.0 ? 4294967295u : quint32(whole);
    return runReporting(SimpleReactiveIonEtching(volume.get(), material, steps, direction),
                        &SimpleReactiveIonEtching::runEtching, failure);
}

} // namespace Operations
} // namespace Core
