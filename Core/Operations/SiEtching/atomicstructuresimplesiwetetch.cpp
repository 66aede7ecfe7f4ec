#include "Core/Operations/SiEtching/atomicstructuresimplesiwetetch.h"

namespace Core {
namespace Operations {

AtomicStructureSimpleSiWetEtch::AtomicStructureSimpleSiWetEtch(
    Model::Automaton::TotalVolume *volume, double depth)
    : SiWetEtchEngine(volume, depth, false)
{}

bool AtomicStructureSimpleSiWetEtch::runEtching(QString *error)
{
    return run(QStringLiteral("Si wet etching"), error);
}

void AtomicStructureSimpleSiWetEtch::etchSurface(Slab &slab, int thread)
{
    for (SiAtom *atom : slab.surface) {
        if (atom->getState() != SiAtom::Present)
            continue; // etched or fixed: no longer a candidate
        const int first = atom->getPresentNeighborCount();
        if (first == 4 || (first == 3 && atom->getSecondNeighborCount() >= 9))
            keepAtom(slab, atom);
        else
            removeAtom(slab, thread, atom);
    }
}

} // namespace Operations
} // namespace Core
