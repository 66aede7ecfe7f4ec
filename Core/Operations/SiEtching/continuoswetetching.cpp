#include "Core/Operations/SiEtching/continuoswetetching.h"

#include <QDebug>

#include <algorithm>

namespace Core {
namespace Operations {

namespace {

/// Fixed atoms (another material, the outside of the volume) and atoms with all four bonds.
inline bool isBulk(const Model::Automaton::SiAtom *atom)
{
    if (atom->getState() == Model::Automaton::SiAtom::Fixed)
        return true;
    for (int k = 0; k < 4; ++k) {
        const Model::Automaton::SiAtom *n = atom->getNeighbor(k);
        if (!n || n->getState() == Model::Automaton::SiAtom::Absent)
            return false;
    }
    return true;
}

/// Below this an atom counts as consumed: float rounding never leaves a speck behind.
const double consumed = 1e-6;

} // namespace

ContinuosWetEtching::ContinuosWetEtching(Model::Automaton::TotalVolume *volume, double depth)
    : SiWetEtchEngine(volume, depth, true), timeStep(0.1)
{
    for (int c = 0; c < ListedConfigurationCount; ++c)
        rates[c] = atomicConfigurationRow(AtomicConfiguration(c)).rate;
    // Unexpected configurations. The etch rate of an atom is set above all by how it is bound
    // to its first neighbours; the second neighbours only refine it. So:
    // - with first neighbours of a listed kind (ns1, nb1), the atom etches like the slowest
    //   listed configuration of that kind: a well-bound atom is never taken faster than any
    //   known neighbourhood of its kind would be (three bulk neighbours keep a {111} face
    //   stable), yet every rate is above zero, so no atom is stuck for ever;
    // - with first neighbours of an unlisted kind (all of them surface atoms, which hold the
    //   atom weakly), it etches like the fastest listed configuration with as many first
    //   neighbours, never faster;
    // - without any neighbour nothing holds the atom: it goes within one step.
    // Counted through the bonds, the second neighbours of the atoms of a flat (100) face give
    // (0, 2, 2, 4), which is not listed: such a face etches at 3.188, four steps a layer.
    for (int ns1 = 0; ns1 < 5; ++ns1)
        for (int nb1 = 0; nb1 < 5; ++nb1) {
            double slowestOfKind = 0.0, fastestOfCount = 0.0;
            for (int c = 0; c < ListedConfigurationCount; ++c) {
                const AtomicConfigurationRow &row = atomicConfigurationRow(AtomicConfiguration(c));
                if (row.ns1 == ns1 && row.nb1 == nb1)
                    slowestOfKind =
                        slowestOfKind == 0.0 ? row.rate : std::min(slowestOfKind, row.rate);
                if (row.ns1 + row.nb1 == ns1 + nb1)
                    fastestOfCount = std::max(fastestOfCount, row.rate);
            }
            double rate = slowestOfKind > 0.0 ? slowestOfKind : fastestOfCount;
            if (ns1 + nb1 == 0)
                rate = 1.0 / timeStep;
            // Four first neighbours never etch; a table entry keeps the rule total.
            unexpectedRates[ns1][nb1] = rate > 0.0 ? rate : rates[Configuration0];
        }
}

bool ContinuosWetEtching::runEtching(QString *error)
{
    unexpectedPerSlab.assign(std::size_t(getStripCount()), 0);
    const bool ok = run(QStringLiteral("continuous wet etching"), error);
    // Once per etch: a line per atom and step would drown the log.
    if (volume)
        qDebug() << "Unexpected configurations found: " << getUnexpectedConfigurations();
    return ok;
}

AtomicConfiguration ContinuosWetEtching::getAtomicConfiguration(int ns1, int nb1, int ns2, int nb2)
{
    const AtomicConfiguration configuration = findAtomicConfiguration(ns1, nb1, ns2, nb2);
    if (configuration == UnexpectedConfiguration)
        qDebug().nospace() << "Unexpected configuration found (ns1, nb1, ns2, nb2): (" << ns1 << ","
                           << nb1 << "," << ns2 << "," << nb2 << ")";
    return configuration;
}

ContinuosWetEtching::Neighbourhood ContinuosWetEtching::classify(const SiAtom &atom)
{
    Neighbourhood n = {0, 0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        const SiAtom *first = atom.getNeighbor(k);
        if (!first || first->getState() == SiAtom::Absent)
            continue;
        if (isBulk(first))
            ++n.nb1;
        else
            ++n.ns1;
        for (int j = 0; j < 4; ++j) {
            const SiAtom *second = first->getNeighbor(j);
            if (j == 3 - k || !second || second->getState() == SiAtom::Absent)
                continue;
            if (isBulk(second))
                ++n.nb2;
            else
                ++n.ns2;
        }
    }
    return n;
}

double ContinuosWetEtching::getRate(AtomicConfiguration configuration, int ns1, int nb1) const
{
    if (configuration != UnexpectedConfiguration)
        return rates[configuration];
    return unexpectedRates[std::min(std::max(ns1, 0), 4)][std::min(std::max(nb1, 0), 4)];
}

bool ContinuosWetEtching::consume(SiAtom &atom, quint64 &unexpected) const
{
    // ns1 + nb1 counts the first neighbours that are not absent.
    if (atom.getPresentNeighborCount() >= 4)
        return false;
    const Neighbourhood n = classify(atom);
    const AtomicConfiguration configuration = findAtomicConfiguration(n.ns1, n.nb1, n.ns2, n.nb2);
    if (configuration == UnexpectedConfiguration)
        ++unexpected;
    return wear(atom, getRate(configuration, n.ns1, n.nb1));
}

bool ContinuosWetEtching::wears(const SiAtom &atom) const
{
    // What consume() and wear() would do, without doing it.
    if (atom.getPresentNeighborCount() >= 4)
        return false;
    const Neighbourhood n = classify(atom);
    const double rate = getRate(findAtomicConfiguration(n.ns1, n.nb1, n.ns2, n.nb2), n.ns1, n.nb1);
    const double rest = double(atom.getRemaining()) - rate * timeStep;
    return rest < consumed || float(rest) != atom.getRemaining();
}

bool ContinuosWetEtching::wear(SiAtom &atom, double rate) const
{
    const double rest = double(atom.getRemaining()) - rate * timeStep;
    if (rest < consumed) {
        atom.setRemaining(0.0f);
        return true;
    }
    atom.setRemaining(float(rest));
    return false;
}

quint64 ContinuosWetEtching::getUnexpectedConfigurations() const
{
    quint64 total = 0;
    for (quint64 count : unexpectedPerSlab)
        total += count;
    return total;
}

void ContinuosWetEtching::etchSurface(Slab &slab, int thread)
{
    // Phase 1 reads only states, which change in phase 2: remaining is this atom's own.
    quint64 unexpected = 0;
    for (SiAtom *atom : slab.surface) {
        if (atom->getState() != SiAtom::Present)
            continue; // etched or fixed: no longer a candidate
        if (consume(*atom, unexpected))
            removeAtom(slab, thread, atom);
        else
            keepAtom(slab, atom);
    }
    unexpectedPerSlab[std::size_t(thread)] += unexpected;
}

} // namespace Operations
} // namespace Core
