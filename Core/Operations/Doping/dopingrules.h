#ifndef CELVANE_CORE_OPERATIONS_DOPING_DOPINGRULES_H
#define CELVANE_CORE_OPERATIONS_DOPING_DOPINGRULES_H

#include "Core/Operations/distancefrontrun.h"
#include "Core/Operations/materialset.h"

namespace Core {
namespace Operations {

/// The propagation shared by doping and the annealing of an implantation: dopable cells within
/// the distance of a source take the doped material. The processes differ in their sources and
/// in which neighbours they file.
struct DopingRules : DistanceFrontRules
{
    DopingRules(const MaterialSet &dopable, quint32 dopedMaterial, float distance)
        : dopable(dopable), dopedMaterial(dopedMaterial), distance(distance),
          limit(distance * distance)
    {}

    bool changeable(const Model::Automaton::Voxel &cell) const
    {
        return !cell.fixed && dopable.contains(cell.material);
    }
    float limitSquared(const Model::Automaton::Voxel &) const { return limit; }
    quint32 changedMaterial(const Model::Automaton::Voxel &) const { return dopedMaterial; }
    bool passes(quint32 material) const { return dopable.contains(material); }

    const MaterialSet &dopable;
    quint32 dopedMaterial;
    float distance;
    float limit;
};

} // namespace Operations
} // namespace Core

#endif
