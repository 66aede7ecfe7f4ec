#include "Core/Operations/SiEtching/siwetetchengine.h"

#include "Model/Automaton/totalvolume.h"
#include "Util/progress.h"

#include <QDebug>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

using Model::Automaton::SiAtom;
using Model::Automaton::SiCell;
using Model::Automaton::SiLattice;
using Model::Automaton::TotalVolume;

namespace Core {
namespace Operations {

namespace {

/// Each atom once; the order is of no account, since a step judges every atom on the states
/// at its start.
void removeRepeats(std::vector<SiAtom *> &list)
{
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

} // namespace

SiWetEtchEngine::SiWetEtchEngine(TotalVolume *volume, double depth, bool resetsRemaining)
    : volume(volume), depth(depth), cellsX(volume ? volume->getCellsX() : 0),
      cellsY(volume ? volume->getCellsY() : 0), cellsZ(volume ? volume->getCellsZ() : 0),
      currentCells(nullptr), nextCells(nullptr), resetsRemaining(resetsRemaining),
      runner(cellsX, 1), cellsPerColumn(quint64(cellsY) * cellsZ), stepsRun(0),
      initializationNanoseconds(0), stepNanoseconds(0)
{}

SiWetEtchEngine::~SiWetEtchEngine() = default;

quint64 SiWetEtchEngine::stepsFor(double depth)
{
    if (!(depth > 0.0))
        return 0;
    const double steps = std::round(depth * 4.0);
    const double limit = double(std::numeric_limits<quint64>::max() / 2);
    return steps >= limit ? quint64(limit) : quint64(steps);
}

quint64 SiWetEtchEngine::getSurfaceVisits() const
{
    quint64 visits = 0;
    for (const std::unique_ptr<Slab> &slab : slabs)
        visits += slab->visits;
    return visits;
}

int SiWetEtchEngine::slabOfCell(quint64 index) const
{
    if (runner.getStripCount() == 1)
        return 0;
    const quint64 x = index / cellsPerColumn;
    return int(std::min<quint64>(x / runner.getStripWidth(), quint64(runner.getStripCount() - 1)));
}

bool SiWetEtchEngine::run(const QString &process, QString *error)
{
    stepsRun = 0;
    initializationNanoseconds = 0;
    stepNanoseconds = 0;
    slabs.clear();
    if (!volume) {
        if (error)
            *error = QStringLiteral("No cell volume for the %1.").arg(process);
        return false;
    }
    lattice = volume->getSiLattice();
    if (!lattice || !lattice->fits(*volume)) {
        // No crystal yet, or one built before the volume moved.
        QString why;
        if (!volume->rebuildSiLattice(&why)) {
            if (error)
                *error = why;
            return false;
        }
        lattice = volume->getSiLattice();
    }

    qDebug() << "Running etching";
    currentCells = volume->lockCells();
    nextCells = volume->lockNextCells();
    const quint64 steps = stepsFor(depth);
    bool ok = true;
    try {
        const int count = runner.getStripCount();
        candidates.assign(std::size_t(count), std::vector<SiAtom *>());
        for (int t = 0; t < count; ++t) {
            slabs.emplace_back(new Slab);
            slabs.back()->firstCell = quint64(runner.getFirstX(t)) * cellsPerColumn;
            slabs.back()->endCell = quint64(runner.getEndX(t)) * cellsPerColumn;
        }
        QElapsedTimer timer;
        timer.start();
        // Bonds are shorter than 0.44: with cells of at least half a unit they end in the
        // neighbouring cells.
        if (volume->getCellSizeX() >= 0.5f && volume->getCellSizeY() >= 0.5f &&
            volume->getCellSizeZ() >= 0.5f) {
            try {
                interior.assign(std::size_t(volume->getCellCount()), 0);
                ok = runner.runPhase([this](int t) { markInterior(t); });
            } catch (const std::bad_alloc &) {
                interior.clear(); // only a shortcut: every atom's neighbours are read instead
            }
        }
        // Two phases: atom states are final before any slab judges its neighbours.
        ok = ok && runner.runPhase([this](int t) { reviveSlab(t); });
        ok = ok && runner.runPhase([this](int t) { runPartialInitialization(t); });
        candidates.clear();
        std::vector<char>().swap(interior);
        initializationNanoseconds = timer.nsecsElapsed();
        qDebug() << "Time to find the surface " << initializationNanoseconds / 1000000 << "ms";
        timer.restart();
        bool anySurface = true;
        Util::Progress::reportTotal(steps);
        while (ok && stepsRun < steps && anySurface) {
            if (Util::Progress::stopRequested()) {
                ok = false;
                break;
            }
            ok = runner.runPhase([this](int t) { runPartialEtchingStep(t); });
            // Looked at before they are applied, which empties the lists.
            bool removed = false;
            for (const std::unique_ptr<Slab> &slab : slabs)
                removed = removed || !slab->removal.empty();
            // Applied even after a failure, so that cells and atoms agree.
            runner.runPhase([this](int t) { applyRemovals(t); });
            ok = ok && runner.runPhase([this](int t) { collectSurface(t); });
            if (!ok)
                break;
            Util::Progress::reportDone(++stepsRun);
            // Without surface atoms no later step can change anything.
            anySurface = false;
            for (const std::unique_ptr<Slab> &slab : slabs)
                anySurface = anySurface || !slab->surface.empty();
            // A step that removed no atom and wore none down left every state as it was: every
            // later step would repeat it. They count as run, so a depth far beyond what the
            // silicon can lose ends here instead of running for hours.
            if (!removed && !surfaceWears()) {
                stepsRun = steps;
                Util::Progress::reportDone(stepsRun);
                break;
            }
        }
        stepNanoseconds = timer.nsecsElapsed();
        qDebug() << "Time to etch " << stepsRun << "steps: " << stepNanoseconds / 1000000 << "ms";
    } catch (...) {
        ok = false;
    }
    finalize();
    volume->releaseNextCells();
    volume->releaseCells();
    currentCells = nullptr;
    nextCells = nullptr;
    if (!ok && error)
        *error = (Util::Progress::stopRequested()
                      ? QStringLiteral("The %1 was canceled after %2 of %3 steps.")
                      : QStringLiteral("Not enough memory to finish the %1; it stopped after %2 "
                                       "of %3 steps."))
                     .arg(process)
                     .arg(stepsRun)
                     .arg(steps);
    return ok;
}

bool SiWetEtchEngine::surfaceWears() const
{
    for (const std::unique_ptr<Slab> &slab : slabs)
        for (const SiAtom *atom : slab->surface)
            if (atom->getState() == SiAtom::Present && wears(*atom))
                return true;
    return false;
}

void SiWetEtchEngine::markInterior(int thread)
{
    // A silicon cell whose 26 neighbours are silicon too.
    for (quint32 x = runner.getFirstX(thread); x < runner.getEndX(thread); ++x) {
        if (x == 0 || x + 1 >= cellsX)
            continue;
        for (quint32 y = 1; y + 1 < cellsY; ++y)
            for (quint32 z = 1; z + 1 < cellsZ; ++z) {
                bool all = true;
                for (int dx = -1; dx <= 1 && all; ++dx)
                    for (int dy = -1; dy <= 1 && all; ++dy) {
                        const Model::Automaton::Voxel *column =
                            currentCells + (quint64(x + dx) * cellsY + (y + dy)) * cellsZ + z;
                        all = column[-1].material == 1 && column[0].material == 1 &&
                              column[1].material == 1;
                    }
                interior[std::size_t((quint64(x) * cellsY + y) * cellsZ + z)] = all ? 1 : 0;
            }
    }
}

void SiWetEtchEngine::reviveSlab(int thread)
{
    Slab &slab = *slabs[std::size_t(thread)];
    std::vector<SiAtom *> &found = candidates[std::size_t(thread)];
    SiCell *cells = lattice->getCellArray();
    const std::size_t count = lattice->getCellArraySize();
    // Atoms lie within 0.36 of their cell's position along x: of the other slabs' cells only
    // the position is read.
    const bool split = runner.getStripCount() > 1;
    const double base = lattice->getVolumePosition().x;
    const double size = volume->getCellSizeX();
    const double low = base + double(runner.getFirstX(thread)) * size - 0.5;
    const double high = base + double(runner.getEndX(thread)) * size + 0.5;
    for (std::size_t c = 0; c < count; ++c) {
        if (split) {
            const double x = cells[c].getPositionX();
            if (x < low || x >= high)
                continue;
        }
        for (int a = 0; a < SiCell::atomCount; ++a) {
            SiAtom *atom = cells[c].getAtom(a);
            const qint64 n = atom->getCellIndex();
            if (n < qint64(slab.firstCell) || n >= qint64(slab.endCell))
                continue;
            const quint32 material = currentCells[n].material;
            if (material != 1) {
                // The cell changed since the crystal was built: its atoms follow it.
                const quint32 state = material == 0 ? SiAtom::Absent : SiAtom::Fixed;
                if (atom->getState() != state)
                    atom->setState(state);
                continue;
            }
            if (atom->getState() != SiAtom::Present) {
                atom->setState(SiAtom::Present);
                ++currentCells[n].tag;
                ++nextCells[n].tag;
            }
            if (resetsRemaining)
                atom->setRemaining(1.0f);
            // Decided from cells and links alone: neighbour states may still be changing. The
            // bonds of an atom deep in silicon end in silicon cells: its neighbours are not read.
            bool mayMiss = false;
            for (int k = 0; k < 4 && !mayMiss; ++k)
                mayMiss = !atom->getNeighbor(k);
            const bool deep = !interior.empty() && interior[std::size_t(n)];
            for (int k = 0; k < 4 && !mayMiss && !deep; ++k) {
                const SiAtom *neighbour = atom->getNeighbor(k);
                mayMiss = !neighbour->getCell() ||
                          (neighbour->getCellIndex() >= 0 &&
                           currentCells[neighbour->getCellIndex()].material == 0);
            }
            if (mayMiss)
                found.push_back(atom);
        }
    }
}

void SiWetEtchEngine::runPartialInitialization(int thread)
{
    Slab &slab = *slabs[std::size_t(thread)];
    for (SiAtom *atom : candidates[std::size_t(thread)]) {
        // A boundary atom stands for what was outside the silicon at an earlier etch; where
        // that place has been emptied since, it is gone. Only this atom links to it.
        for (int k = 0; k < 4; ++k) {
            SiAtom *neighbour = atom->getNeighbor(k);
            if (!neighbour || neighbour->getCell())
                continue;
            const qint64 n = lattice->volumeCellIndexAt(neighbour->getPosition());
            const quint32 material = materialAt(n);
            if (n >= 0 && material != 1)
                neighbour->setState(material == 0 ? SiAtom::Absent : SiAtom::Fixed);
        }
        if (atom->getPresentNeighborCount() < 4)
            treatMissingNeighbors(atom, thread);
    }
    removeRepeats(slab.surface);
    qDebug().nospace() << "Surface list size for thread " << thread << ": " << slab.surface.size();
}

void SiWetEtchEngine::treatMissingNeighbors(SiAtom *atom, int thread)
{
    Slab &slab = *slabs[std::size_t(thread)];
    bool exposed = false;
    int withoutCell = 0;
    for (int k = 0; k < 4; ++k) {
        SiAtom *neighbour = atom->getNeighbor(k);
        if (neighbour) {
            if (neighbour->getCellIndex() < 0) {
                if (neighbour->getState() == SiAtom::Absent)
                    exposed = true; // an emptied boundary place
                else if (neighbour->getCell())
                    ++withoutCell;
                continue;
            }
            const quint32 material = currentCells[neighbour->getCellIndex()].material;
            if (material == 0) {
                if (neighbour->getState() != SiAtom::Absent)
                    neighbour->setState(SiAtom::Absent);
                exposed = true;
            } else if (material != 1 && neighbour->getState() != SiAtom::Fixed) {
                neighbour->setState(SiAtom::Fixed);
            }
            continue;
        }
        const Util::Vector3D place =
            atom->getPosition() + SiAtom::bondVector(atom->getSiteType(), k);
        const qint64 n = lattice->volumeCellIndexAt(place);
        const quint32 material = materialAt(n);
        if (n >= 0 && material == 0) {
            exposed = true;
        } else if (n < 0 || material != 1) {
            // The outside of the volume and other materials hold their silicon neighbours.
            slab.createdAtoms.emplace_back(place, nullptr, true);
            atom->link(&slab.createdAtoms.back(), k);
        }
    }
    if (withoutCell > 0)
        qDebug() << "This wasn't suppose to happen.";
    if (exposed)
        slab.surface.push_back(atom);
}

void SiWetEtchEngine::runPartialEtchingStep(int thread)
{
    Slab &slab = *slabs[std::size_t(thread)];
    std::lock_guard<std::mutex> guard(slab.lock);
    slab.outboxDown.clear();
    slab.outboxUp.clear();
    slab.next.clear();
    slab.removal.clear();
    slab.touched.clear();
    slab.visits += slab.surface.size();
    etchSurface(slab, thread);
}

void SiWetEtchEngine::removeAtom(Slab &slab, int thread, SiAtom *atom)
{
    slab.removal.push_back(atom);
    const qint64 n = atom->getCellIndex();
    if (n >= 0) {
        Model::Automaton::Voxel &cell = nextCells[n];
        const quint32 count = cell.tag;
        // Counted down to 0 at most: a count that wrapped round would never empty the cell.
        cell.tag = count > 0 ? count - 1 : 0;
        if (count < 2)
            cell.material = 0;
        if (count < 1)
            qDebug().nospace() << "Negative atom count reached for index: " << n
                               << " count is: " << qint64(count) - 1;
        slab.touched.push_back(quint64(n));
    }
    for (int k = 0; k < 4; ++k) {
        SiAtom *neighbour = atom->getNeighbor(k);
        if (!neighbour || neighbour->getState() == SiAtom::Absent || neighbour->getCellIndex() < 0)
            continue;
        const int owner = slabOfCell(quint64(neighbour->getCellIndex()));
        if (owner < thread)
            slab.outboxDown.push_back(neighbour);
        else if (owner > thread)
            slab.outboxUp.push_back(neighbour);
        else
            slab.next.push_back(neighbour);
    }
}

void SiWetEtchEngine::applyRemovals(int thread)
{
    Slab &slab = *slabs[std::size_t(thread)];
    for (SiAtom *atom : slab.removal)
        atom->setState(SiAtom::Absent);
    for (quint64 n : slab.touched) {
        currentCells[n].tag = nextCells[n].tag;
        currentCells[n].material = nextCells[n].material;
    }
    slab.removal.clear();
    slab.touched.clear();
}

void SiWetEtchEngine::collectSurface(int thread)
{
    Slab &slab = *slabs[std::size_t(thread)];
    // Neighbours handed over by the other slabs: the lower ones send up, the higher ones down.
    for (int other = 0; other < int(slabs.size()); ++other) {
        if (other == thread)
            continue;
        Slab &sender = *slabs[std::size_t(other)];
        std::lock_guard<std::mutex> guard(sender.lock);
        const std::vector<SiAtom *> &outbox = other < thread ? sender.outboxUp : sender.outboxDown;
        for (SiAtom *atom : outbox)
            if (slabOfCell(quint64(atom->getCellIndex())) == thread)
                slab.next.push_back(atom);
    }
    removeRepeats(slab.next);
    slab.surface.swap(slab.next);
    slab.next.clear();
    qDebug().nospace() << "Surface list size for thread " << thread << ": " << slab.surface.size();
}

void SiWetEtchEngine::finalize()
{
    for (const std::unique_ptr<Slab> &slab : slabs) {
        slab->surface.clear();
        slab->next.clear();
        slab->outboxDown.clear();
        slab->outboxUp.clear();
        // The boundary atoms stay linked: the crystal keeps them alive. Should even that fail,
        // they die with the slab and unlink themselves, leaving their places missing.
        try {
            if (lattice)
                lattice->adoptBoundaryAtoms(slab->createdAtoms);
        } catch (...) {
        }
    }
}

} // namespace Operations
} // namespace Core
