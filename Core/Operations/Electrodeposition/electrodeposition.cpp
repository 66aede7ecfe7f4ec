#include "Core/Operations/Electrodeposition/electrodeposition.h"

namespace Core {
namespace Operations {

Electrodeposition::Electrodeposition(Model::Automaton::TotalVolume *volume, quint32 platedMaterial,
                                     quint32 conductingMaterial, float thickness)
    : IsotropicFront(volume, platedMaterial, thickness, IsotropicFront::Plating, conductingMaterial)
{}

} // namespace Operations
} // namespace Core
