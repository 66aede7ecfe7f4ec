#ifndef CELVANE_CORE_OPERATIONS_SIETCHING_CONTINUOSWETETCHING_H
#define CELVANE_CORE_OPERATIONS_SIETCHING_CONTINUOSWETETCHING_H

#include "Core/Operations/SiEtching/atomicconfiguration.h"
#include "Core/Operations/SiEtching/siwetetchengine.h"

#include <vector>

namespace Core {
namespace Operations {

/// Anisotropic wet etching of crystalline silicon as a continuous cellular automaton: a surface
/// atom is not removed at once but loses, every step, a fraction of itself at the rate of its
/// local configuration (the surface and bulk atoms among its first and second neighbours), and
/// goes when nothing is left of it. Atoms held by three bulk neighbours ({111} faces) etch
/// hundreds of times slower than the others, so {111} planes become the sidewalls.
class ContinuosWetEtching : public SiWetEtchEngine
{
public:
    /// Surface and bulk atoms among the first and the second neighbours of an atom.
    struct Neighbourhood
    {
        int ns1;
        int nb1;
        int ns2;
        int nb2;
    };

    /// volume is not owned and may be null; depth in cell units (4 steps per unit).
    ContinuosWetEtching(Model::Automaton::TotalVolume *volume, double depth);

    /// Runs the whole etch on the volume's silicon crystal (built first when the volume has
    /// none that fits it), holding both cell arrays until it returns; every present atom starts
    /// whole. False with a reason when there is no volume or memory ran out.
    bool runEtching(QString *error = nullptr);

    /// The configuration of a quadruple; an unexpected one is written to the debug log.
    static AtomicConfiguration getAtomicConfiguration(int ns1, int nb1, int ns2, int nb2);

    /// A neighbour that is not absent is bulk when it is fixed or none of its four slots is
    /// empty or absent, surface otherwise. Second neighbours are counted through each first
    /// neighbour, without the bond back: one reached through two first neighbours counts twice.
    static Neighbourhood classify(const SiAtom &atom);

    /// The rate of a configuration; for UnexpectedConfiguration, the rate of an unexpected
    /// configuration with ns1 surface and nb1 bulk first neighbours.
    double getRate(AtomicConfiguration configuration, int ns1, int nb1) const;
    double getTimeStep() const { return timeStep; }

    /// One step of the removal rule for a present atom, judged on the current states: an atom
    /// with four first neighbours is left alone; any other loses its rate times the time step of
    /// its remaining fraction. True when nothing is left (remaining is then 0). Adds 1 to
    /// unexpected when the atom's configuration is not listed.
    bool consume(SiAtom &atom, quint64 &unexpected) const;
    /// One time step at rate: the atom's remaining fraction less rate times the time step. True
    /// when nothing is left (remaining is then 0).
    bool wear(SiAtom &atom, double rate) const;

    /// Surface atoms judged in an unexpected configuration over all steps of the last run.
    quint64 getUnexpectedConfigurations() const;

protected:
    void etchSurface(Slab &slab, int thread) override;
    bool wears(const SiAtom &atom) const override;

private:
    double rates[ListedConfigurationCount];
    /// Per [ns1][nb1]: the rate of an unexpected configuration.
    double unexpectedRates[5][5];
    double timeStep;
    /// Per slab, unexpected configurations met in the current run.
    std::vector<quint64> unexpectedPerSlab;
};

} // namespace Operations
} // namespace Core

#endif
