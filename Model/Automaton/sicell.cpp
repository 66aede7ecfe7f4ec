#include "Model/Automaton/sicell.h"

#include <cmath>
#include <new>

namespace Model {
namespace Automaton {

namespace {

struct Bond
{
    int from;
    int to;
    int slot;
};

const Bond innerBonds[] = {{0, 2, 3}, {1, 2, 2}, {1, 3, 3}, {2, 4, 2},
                           {2, 5, 3}, {4, 6, 3}, {5, 7, 3}};

/// Bonds towards the neighbour cell of each forward direction; to < 0 ends a list.
const Bond outerBonds[SiCell::DirectionCount][2] = {
    {{3, 4, 3}, {7, 4, 1}},  // (0, +1, 0)
    {{3, 5, 2}, {6, 5, 1}},  // (+1, 0, 0)
    {{6, 1, 3}, {7, 1, 2}},  // (0, 0, +1)
    {{3, 0, 1}, {0, -1, 0}}, // (+1, +1, 0)
    {{6, 0, 2}, {0, -1, 0}}, // (+1, 0, +1)
    {{7, 0, 3}, {0, -1, 0}}, // (0, +1, +1)
};

const double pi = 3.14159265358979323846;

} // namespace

void SiCell::turn(double p[3], int axis, double c, double s)
{
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    const double pu = p[u], pv = p[v];
    p[u] = pu * c - pv * s;
    p[v] = pu * s + pv * c;
}

void SiCell::turnCosSin(double degrees, double &c, double &s)
{
    const double a = degrees * pi / 180.0;
    c = std::cos(a);
    s = std::sin(a);
}

const double SiCell::basis[SiCell::atomCount][3] = {
    {0.0, 0.0, 0.0}, {0.5, 0.5, 0.0}, {0.25, 0.25, 0.25}, {0.75, 0.75, 0.25},
    {0.5, 0.0, 0.5}, {0.0, 0.5, 0.5}, {0.75, 0.25, 0.75}, {0.25, 0.75, 0.75}};

SiCell::SiCell(qint32 i, qint32 j, qint32 k) : position{double(i), double(j), double(k)}
{
    for (int a = 0; a < atomCount; ++a)
        new (atoms() + a)
            SiAtom(Util::Vector3D(position[0] + basis[a][0], position[1] + basis[a][1],
                                  position[2] + basis[a][2]),
                   this, false);
    for (const Bond &b : innerBonds)
        atoms()[b.from].link(atoms() + b.to, b.slot);
}

SiCell::Ptr SiCell::create(qint32 i, qint32 j, qint32 k)
{
    Ptr cell(new SiCell(i, j, k));
    cell->setOwner(cell);
    return cell;
}

SiCell::~SiCell()
{
    for (int a = atomCount - 1; a >= 0; --a)
        atoms()[a].~SiAtom();
}

void SiCell::rotate(double ax, double ay, double az)
{
    const double angles[3] = {ax, ay, az};
    for (int axis = 0; axis < 3; ++axis) {
        if (std::fabs(angles[axis]) <= 1e-6)
            continue;
        double c, s;
        turnCosSin(angles[axis], c, s);
        turn(position, axis, c, s);
        for (int a = 0; a < atomCount; ++a) {
            Util::Vector3D p = atoms()[a].getPosition();
            turn(p.data(), axis, c, s);
            atoms()[a].setPosition(p);
        }
    }
}

void SiCell::translate(const Util::Vector3D &d)
{
    position[0] += d.x;
    position[1] += d.y;
    position[2] += d.z;
    for (int a = 0; a < atomCount; ++a)
        atoms()[a].setPosition(atoms()[a].getPosition() + d);
}

void SiCell::linkNeighbor(SiCell &neighbour, Direction direction)
{
    for (const Bond &b : outerBonds[direction])
        if (b.to >= 0)
            atoms()[b.from].link(neighbour.atoms() + b.to, b.slot);
}

boost::shared_ptr<SiAtom> SiCell::getSharedAtom(int index) const
{
    const boost::shared_ptr<void> keeper = owner.lock();
    if (!keeper)
        return boost::shared_ptr<SiAtom>();
    return boost::shared_ptr<SiAtom>(keeper, const_cast<SiAtom *>(atoms() + index));
}

std::vector<boost::shared_ptr<SiAtom>> SiCell::getAtoms() const
{
    std::vector<boost::shared_ptr<SiAtom>> list;
    list.reserve(atomCount);
    for (int a = 0; a < atomCount; ++a)
        list.push_back(getSharedAtom(a));
    return list;
}

} // namespace Automaton
} // namespace Model
