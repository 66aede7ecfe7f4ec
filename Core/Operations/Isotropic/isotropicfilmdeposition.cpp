#include "Core/Operations/Isotropic/isotropicfilmdeposition.h"

namespace Core {
namespace Operations {

IsotropicFilmDeposition::IsotropicFilmDeposition(Model::Automaton::TotalVolume *volume,
                                                 quint32 material, float thickness)
    : IsotropicFront(volume, material, thickness, IsotropicFront::Deposition)
{}

} // namespace Operations
} // namespace Core
