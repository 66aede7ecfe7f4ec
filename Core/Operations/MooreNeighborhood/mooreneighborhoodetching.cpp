#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetching.h"

namespace Core {
namespace Operations {

MooreNeighborhoodEtching::MooreNeighborhoodEtching(Model::Automaton::TotalVolume *volume,
                                                   quint32 material, qint32 steps)
    : MooreFront(volume, material, steps, MooreFront::Etching)
{}

} // namespace Operations
} // namespace Core
