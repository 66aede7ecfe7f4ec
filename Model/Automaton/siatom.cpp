#include "Model/Automaton/siatom.h"

#include "Model/Automaton/sicell.h"

#include <cmath>

namespace Model {
namespace Automaton {

namespace {
const double s = std::sqrt(2.0) / 4.0;
const Util::Vector3D turnedBonds[2][4] = {
    {{s, 0.0, -0.25}, {-s, 0.0, -0.25}, {0.0, -s, 0.25}, {0.0, s, 0.25}},
    {{0.0, -s, -0.25}, {0.0, s, -0.25}, {s, 0.0, 0.25}, {-s, 0.0, 0.25}}};
} // namespace

SiAtom::SiAtom(const Util::Vector3D &position, SiCell *cell, bool boundary)
    : cellIndex(-1), state(boundary ? Fixed : Present),
      remaining(1.0f), neighbours{nullptr, nullptr, nullptr, nullptr},
      cell(cell), position{position.x, position.y, position.z}
{}

SiAtom::~SiAtom()
{
    for (int k = 0; k < 4; ++k)
        if (neighbours[k] && neighbours[k]->neighbours[3 - k] == this)
            neighbours[k]->neighbours[3 - k] = nullptr;
}

const Util::Vector3D &SiAtom::bondVector(SiteType type, int slot)
{
    return turnedBonds[type][slot & 3];
}

SiAtom::SiteType SiAtom::getSiteType() const
{
    return cell ? SiCell::siteType(cell->indexOf(this)) : SiteA;
}

} // namespace Automaton
} // namespace Model
