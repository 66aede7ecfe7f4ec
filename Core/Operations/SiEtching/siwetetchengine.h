#ifndef CELVANE_CORE_OPERATIONS_SIETCHING_SIWETETCHENGINE_H
#define CELVANE_CORE_OPERATIONS_SIETCHING_SIWETETCHENGINE_H

#include "Core/Operations/striprunner.h"
#include "Model/Automaton/silattice.h"
#include "Model/Automaton/voxel.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <mutex>
#include <vector>

namespace Model {
namespace Automaton {
class TotalVolume;
} // namespace Automaton
} // namespace Model

namespace Core {
namespace Operations {

/// What the atomistic wet etchings of silicon share: the volume's silicon crystal split into
/// x slabs (one per thread of the global pool), the treatment of missing neighbours, steps in
/// two phases (judge the surface atoms on the states at the start of the step, then apply),
/// the hand-over of newly exposed atoms between slabs and the cell bookkeeping (a cell's tag
/// counts its atoms; it empties with its last one). The etchings differ only in how a surface
/// atom is judged (etchSurface).
///
/// Only surface atoms are visited in a step; bulk atoms are never scanned after the start.
class SiWetEtchEngine
{
public:
    typedef Model::Automaton::SiAtom SiAtom;

    virtual ~SiWetEtchEngine();
    SiWetEtchEngine(const SiWetEtchEngine &) = delete;
    SiWetEtchEngine &operator=(const SiWetEtchEngine &) = delete;

    /// Slabs the volume is split into (1 for a volume narrower than the thread count).
    int getStripCount() const { return runner.getStripCount(); }
    /// Steps the depth asks for: depth x 4 rounded, halves away from zero (one step removes
    /// about one (100) atomic layer, a quarter of the lattice constant); 0 for depths below 0.
    static quint64 stepsFor(double depth);
    quint64 getStepsRun() const { return stepsRun; }
    /// Surface atoms judged over all steps of the last run.
    quint64 getSurfaceVisits() const;
    /// Time the last run took to find the surface, and for its steps.
    qint64 getInitializationNanoseconds() const { return initializationNanoseconds; }
    qint64 getStepNanoseconds() const { return stepNanoseconds; }

protected:
    /// volume is not owned and may be null; depth in cell units. resetsRemaining: every
    /// silicon atom starts whole (remaining 1.0) at the start of the run.
    SiWetEtchEngine(Model::Automaton::TotalVolume *volume, double depth, bool resetsRemaining);

    /// The lists of one slab. A step judges surface into next and removal.
    struct Slab
    {
        std::vector<SiAtom *> surface;
        std::vector<SiAtom *> next;
        std::vector<SiAtom *> removal;
        std::vector<SiAtom *> outboxDown;
        std::vector<SiAtom *> outboxUp;
        std::vector<quint64> touched;
        Model::Automaton::SiLattice::AtomPool createdAtoms;
        std::mutex lock;
        quint64 visits = 0;
        quint64 firstCell = 0;
        quint64 endCell = 0;
    };

    /// The whole etch; process names the etch in the messages. False with a reason when there
    /// is no volume, no crystal can be built, memory ran out part-way or the step's progress
    /// was cancelled (the cells and atoms then agree with the steps that were completed).
    /// Steps are reported to the progress, which is looked at between steps.
    bool run(const QString &process, QString *error);

    /// Phase 1 of a step for one slab: judges every present atom of slab.surface, passing it
    /// to keepAtom or removeAtom. Called under the slab's lock.
    virtual void etchSurface(Slab &slab, int thread) = 0;

    /// True when the next step would change a present surface atom that it keeps (wear it
    /// down). The default: a kept atom stays exactly as it was.
    virtual bool wears(const SiAtom &) const { return false; }

    void keepAtom(Slab &slab, SiAtom *atom) { slab.next.push_back(atom); }
    /// Removes atom at the end of the step: the cell loses one atom (and its material with the
    /// last one), and the neighbours that are not absent become candidates of their slabs.
    void removeAtom(Slab &slab, int thread, SiAtom *atom);

    Model::Automaton::TotalVolume *volume;
    double depth;
    quint32 cellsX;
    quint32 cellsY;
    quint32 cellsZ;
    Model::Automaton::Voxel *currentCells;
    Model::Automaton::Voxel *nextCells;
    Model::Automaton::SiLattice::Ptr lattice;

private:
    void runPartialInitialization(int thread);
    void markInterior(int thread);
    void reviveSlab(int thread);
    void treatMissingNeighbors(SiAtom *atom, int thread);
    void runPartialEtchingStep(int thread);
    void applyRemovals(int thread);
    void collectSurface(int thread);
    void finalize();
    /// True when a surface atom of some slab still wears (see wears()).
    bool surfaceWears() const;
    int slabOfCell(quint64 index) const;
    quint32 materialAt(qint64 index) const
    {
        return index < 0 ? quint32(-1) : currentCells[index].material;
    }

    bool resetsRemaining;
    StripRunner runner;
    quint64 cellsPerColumn;
    std::vector<std::unique_ptr<Slab>> slabs;
    /// Per slab: silicon atoms with a neighbour that may be missing, found while reviving.
    std::vector<std::vector<SiAtom *>> candidates;
    /// Per volume cell while the surface is found: 1 for silicon surrounded by silicon.
    std::vector<char> interior;
    quint64 stepsRun;
    qint64 initializationNanoseconds;
    qint64 stepNanoseconds;
};

} // namespace Operations
} // namespace Core

#endif
