#include "Core/Operations/Isotropic/isotropicfilmetching.h"

namespace Core {
namespace Operations {

IsotropicFilmEtching::IsotropicFilmEtching(Model::Automaton::TotalVolume *volume, quint32 material,
                                           float depth)
    : IsotropicFront(volume, material, depth, IsotropicFront::Etching)
{}

} // namespace Operations
} // namespace Core
