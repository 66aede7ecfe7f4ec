#ifndef CELVANE_TESTS_SIATOMSTESTUTIL_H
#define CELVANE_TESTS_SIATOMSTESTUTIL_H

#include "Model/Automaton/totalvolume.h"

#include <cmath>
#include <functional>
#include <map>
#include <utility>
#include <vector>

/// Helpers of the wet-etch tests: what the crystal holds, atom by atom.
namespace SiAtoms {

using Model::Automaton::SiAtom;
using Model::Automaton::SiCell;
using Model::Automaton::SiLattice;

/// Present atoms per atomic layer (z in quarters of the lattice constant), of those at least
/// margin away from the sides of the volume (cellsXY wide), with their smallest remaining.
inline std::map<int, std::pair<int, float>>
presentPerLayer(const SiLattice &lattice, double margin = 0.0, double cellsXY = 1e9)
{
    std::map<int, std::pair<int, float>> layers;
    for (const auto &entry : lattice.getCells())
        for (int a = 0; a < SiCell::atomCount; ++a) {
            const SiAtom *atom = entry.second->getAtom(a);
            const Util::Vector3D p = atom->getPosition();
            if (p.x < margin || p.y < margin || p.x >= cellsXY - margin ||
                p.y >= cellsXY - margin || atom->getState() != SiAtom::Present)
                continue;
            auto it = layers.emplace(int(std::lround(p.z * 4.0)), std::make_pair(0, 1.0f)).first;
            ++it->second.first;
            it->second.second = std::min(it->second.second, atom->getRemaining());
        }
    return layers;
}

/// Every atom's state and remaining fraction, in map order.
inline std::vector<std::pair<quint32, float>> atomStates(const SiLattice &lattice)
{
    std::vector<std::pair<quint32, float>> states;
    for (const auto &entry : lattice.getCells())
        for (int a = 0; a < SiCell::atomCount; ++a)
            states.emplace_back(entry.second->getAtom(a)->getState(),
                                entry.second->getAtom(a)->getRemaining());
    return states;
}

/// Silicon below z = top, an oxide mask (2) of two cells above it except over the opening,
/// empty space higher up.
inline std::function<quint32(quint32, quint32, quint32)>
masked(quint32 top, std::function<bool(quint32 x, quint32 y)> opening)
{
    return [=](quint32 x, quint32 y, quint32 z) -> quint32 {
        if (z < top)
            return 1;
        if (z < top + 2 && !opening(x, y))
            return 2;
        return 0;
    };
}

} // namespace SiAtoms

#endif
