#ifndef CELVANE_CORE_OPERATIONS_DISTANCEFRONTRUN_H
#define CELVANE_CORE_OPERATIONS_DISTANCEFRONTRUN_H

#include "Core/Operations/cellneighborhood.h"
#include "Core/Operations/columnbits.h"
#include "Core/Operations/distancefront.h"
#include "Core/Operations/stripfronts.h"
#include "Core/Operations/striprunner.h"
#include "Core/Operations/stripslot.h"
#include "Model/Automaton/voxel.h"
#include "Util/progress.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace Model {
namespace Automaton {
class TotalVolume;
} // namespace Automaton
} // namespace Model

namespace Core {
namespace Operations {

class DistanceFrontRun;

/// The defaults of the rules a distance-front process hands to DistanceFrontRun::run. A process
/// derives its rules from this and supplies, as plain (inlined) members:
///
/// - `void initialize(DistanceFrontRun &run, StripFronts::Strip &strip, int index)`: writes
///   `fixed` and `distance` of every cell of the strip and files the first front;
/// - `bool changeable(const Voxel &cell) const`: the cell may take a shorter distance;
/// - `float limitSquared(const Voxel &cell) const`: the longest squared distance it may take;
/// - `quint32 changedMaterial(const Voxel &cell) const`: what a cell that took a distance
///   becomes;
/// - `bool passes(quint32 material) const`: the front may spread into a cell of this material
///   (a changed cell files such face neighbours for the next pass).
///
/// `fixed` and `distance` are the run's scratch: it writes them (in the current array only)
/// before it reads them, and nothing after the run reads them. Materials and tags stay the same
/// in both arrays.
struct DistanceFrontRules
{
    /// The initialization pass changes materials (so a run stopped there is not "unchanged").
    static constexpr bool initializationChangesMaterials = false;
    /// Work after the last pass (with both arrays still locked); false when it failed.
    bool finish(DistanceFrontRun &) { return true; }
};

/// The run of a distance-front worker on strips along x: both cell arrays locked, an
/// initialization pass, then propagation passes in which each front cell takes a face
/// neighbour's distance plus the step to it when that is shorter and within the limit, until
/// the pass count is reached or the fronts died out; the rules decide which cells are sources,
/// which may change, how far, and what they become.
///
/// Every pass reads the cells as they stood when it began: front work lists its changes per
/// strip, the copy-back follows once every strip has finished its front work.
class DistanceFrontRun
{
public:
    typedef CellNeighborhood::CellIndex CellIndex;
    typedef Model::Automaton::Voxel Voxel;

    /// Steps of the face table are (stepX, stepY, stepZ) in world units (the cell sizes, or
    /// scaled ones). The strip count is the global thread pool's maximum thread count at this
    /// moment. volume is not owned and may be null (run then refuses).
    DistanceFrontRun(Model::Automaton::TotalVolume *volume, float stepX, float stepY, float stepZ);
    /// Steps of the volume's cell sizes.
    explicit DistanceFrontRun(Model::Automaton::TotalVolume *volume);
    DistanceFrontRun(const DistanceFrontRun &) = delete;
    DistanceFrontRun &operator=(const DistanceFrontRun &) = delete;

    /// Locks both arrays, runs the rules' initialization, at most passes propagation passes and
    /// the rules' finish, releases the arrays. Returns false with a reason naming process when
    /// there is no volume, its cell sizes are unusable (nothing changes), memory ran out, or the
    /// step's progress (Util::Progress::current()) was cancelled; passes are reported to it.
    template <class Rules>
    bool run(Rules &rules, quint64 passes, const QString &process, QString *error);

    Model::Automaton::TotalVolume *getVolume() const { return volume; }
    const StripRunner &getRunner() const { return runner; }
    const CellNeighborhood &getNeighborhood() const { return neighborhood; }
    const DistanceFront &getDistanceFront() const { return distanceFront; }
    int getStripCount() const { return runner.getStripCount(); }
    int getThreadCount() const { return runner.getThreadCount(); }
    /// Passes a film of the given thickness calls for with these steps (DistanceFront::passCount).
    quint64 passCount(float thickness) const
    {
        return DistanceFront::passCount(thickness, stepSize[0], stepSize[1], stepSize[2]);
    }
    /// Passes run by the last run: fewer than asked when the fronts died out early.
    quint64 getPassesRun() const { return passesRun; }

    /// The arrays, while a run holds them (null otherwise).
    Voxel *cells() const { return current; }
    Voxel *nextCells() const { return next; }

    /// What the shared initialization makes of a cell.
    enum CellRole
    {
        /// Distance 0, fixed: the front spreads from it.
        Source,
        /// Fixed: never changed, never a source.
        Blocking,
        /// May take a distance; joins the first front when it touches a source.
        Free
    };

    /// The initialization most rules share, over the cells of a strip: sources take distance 0,
    /// every other cell the start distance in each direction (current array). role(cell, i, x, y,
    /// z) classifies a cell; a Free cell joins the first front when joins(i, x, y, z) holds. Only
    /// materials may be read across strips: other strips write fixed and distance meanwhile.
    template <class Role, class Joins>
    void initializeStrip(StripFronts::Strip &strip, float start, Role role, Joins joins);
    /// As initializeStrip, for rules whose Free cells join the first front when one of their 26
    /// Moore neighbours in the volume is a Source. role must read nothing but the cell's
    /// material: it is asked about the cells of the neighbouring layers too. The neighbourhood
    /// test is a bitwise dilation of the sources, column by column.
    template <class Role>
    void initializeStripTouchingSources(StripFronts::Strip &strip, float start, Role role);
    /// The initialization of the cells of word w of column (x, y) in the strip, cells 64 w
    /// onwards, bit b standing for cell 64 w + b: for rules that classify cells a column word
    /// at a time. Cells in neither sources nor blocking are Free; those in joins join the first
    /// front.
    void initializeWord(StripFronts::Strip &strip, quint32 x, quint32 y, quint32 w, float start,
                        quint64 sources, quint64 blocking, quint64 joins)
    {
        const quint32 first = w * 64;
        const quint32 count = qMin(neighborhood.getCellsZ() - first, 64u);
        const CellIndex column = neighborhood.index(x, y, first);
        for (quint32 b = 0; b < count; ++b) {
            const CellRole r = (sources >> b) & 1 ? Source : (blocking >> b) & 1 ? Blocking : Free;
            writeInitialCell(strip, column + b, x, r, start,
                             [joins, b]() { return ((joins >> b) & 1) != 0; });
        }
    }
    /// Files the face neighbours of cell i whose material passes(material) accepts. A cell's
    /// candidates come from its face neighbours only, so after cell i changed only they can
    /// find a shorter distance.
    template <class Passes>
    void fileFaceNeighbors(StripFronts::Strip &strip, CellIndex i, quint32 x, quint32 y, quint32 z,
                           Passes passes) const
    {
        const Voxel *const cells = current;
        neighborhood.forEachFaceNeighbor(i, x, y, z,
                                         [cells, &strip, &passes](int, CellIndex j, quint32 nx) {
                                             if (passes(cells[j].material))
                                                 strip.file(j, nx);
                                         });
    }

    /// Reasons for refusing a volume; empty when it can be worked on.
    static QString checkVolume(const Model::Automaton::TotalVolume *volume, const QString &process);

private:
    void lock();
    void release();
    /// Cells the passes ask the memory for ahead of their work: far enough ahead to arrive in
    /// time, near enough to stay in the cache.
    static constexpr size_t prefetchDistance = 12;
    static void prefetch(const Voxel *cells, CellIndex i, CellIndex cellCount)
    {
        if (i < cellCount)
            __builtin_prefetch(cells + i);
    }
    QString failureText(const QString &process, quint64 passes, bool initializationChanges) const;
    QString canceledText(const QString &process, quint64 passes) const;
    template <class Rules> bool runPhases(Rules &rules, StripFronts &fronts, quint64 passes);
    template <class Rules> void runStep(Rules &rules, StripFronts::Strip &strip, int index);
    /// Files for the next pass the face neighbours of cell i that the rules let the front into:
    /// a cell's candidates come from its face neighbours only, so after cell i changed only
    /// they can find a shorter distance.
    template <class Rules>
    void fileFaceNeighbors(const Rules &rules, StripFronts::Strip &strip, CellIndex i, quint32 x,
                           quint32 y, quint32 z) const
    {
        const Voxel *const cells = current;
        neighborhood.forEachFaceNeighbor(i, x, y, z,
                                         [cells, &strip, &rules](int, CellIndex j, quint32 nx) {
                                             if (rules.passes(cells[j].material))
                                                 strip.file(j, nx);
                                         });
    }

    /// Writes the start state of cell i for its role; a Free cell joins the first front when
    /// touches() holds.
    template <class Touches>
    void writeInitialCell(StripFronts::Strip &strip, CellIndex i, quint32 x, CellRole r,
                          float start, Touches touches);

    Model::Automaton::TotalVolume *volume;
    StripRunner runner;
    CellNeighborhood neighborhood;
    DistanceFront distanceFront;
    float stepSize[3];
    quint64 passesRun;
    Voxel *current;
    Voxel *next;
    /// A cell's new state, listed by the front work and copied back after it.
    struct Change
    {
        CellIndex index;
        float distance[3];
        quint32 material;
    };
    /// Per strip, the changes of its front work in this pass (ascending).
    std::vector<StripSlot<std::vector<Change>>> changes;
};

template <class Rules>
bool DistanceFrontRun::run(Rules &rules, quint64 passes, const QString &process, QString *error)
{
    passesRun = 0;
    const QString refused = checkVolume(volume, process);
    if (!refused.isEmpty()) {
        if (error)
            *error = refused;
        return false;
    }
    lock();
    bool ok = false;
    try {
        changes.assign(size_t(runner.getStripCount()), StripSlot<std::vector<Change>>());
        StripFronts fronts(runner, quint64(neighborhood.getCellsY()) * neighborhood.getCellsZ());
        ok = runPhases(rules, fronts, passes);
    } catch (...) {
        ok = false;
    }
    changes.clear();
    changes.shrink_to_fit();
    release();
    if (!ok && error)
        *error = Util::Progress::stopRequested()
                     ? canceledText(process, passes)
                     : failureText(process, passes, Rules::initializationChangesMaterials);
    return ok;
}

template <class Rules>
bool DistanceFrontRun::runPhases(Rules &rules, StripFronts &fronts, quint64 passes)
{
    if (!fronts.runFiling([this, &rules](StripFronts::Strip &strip, int index) {
            rules.initialize(*this, strip, index);
        }))
        return false;
    const StripFronts::CellWork copyBack = [this](const StripFronts::CellList &, int index) {
        std::vector<Change> &list = changes[size_t(index)].value;
        const size_t count = list.size();
        const CellIndex cellCount = neighborhood.getCellCount();
        for (size_t k = 0; k < count; ++k) {
            if (k + prefetchDistance < count) {
                // A cell's first change changes its material in both arrays.
                prefetch(current, list[k + prefetchDistance].index, cellCount);
                prefetch(next, list[k + prefetchDistance].index, cellCount);
            }
            const Change &c = list[k];
            // A changed cell was changeable, so it is not fixed.
            Voxel &cell = current[c.index];
            cell.setDistance(c.distance[0], c.distance[1], c.distance[2]);
            if (cell.material != c.material)
                cell.material = next[c.index].material = c.material;
        }
        list.clear();
    };
    const StripFronts::CellWork rollBack = [this](const StripFronts::CellList &, int index) {
        changes[size_t(index)].value.clear();
    };
    const StripFronts::FrontWork step = [this, &rules](StripFronts::Strip &strip, int index) {
        runStep(rules, strip, index);
    };
    Util::Progress::reportTotal(passes);
    // Once every front is empty no later pass can change a cell.
    while (passesRun < passes && !fronts.isEmpty()) {
        if (Util::Progress::stopRequested() || !fronts.runPass(step, copyBack, rollBack))
            return false;
        Util::Progress::reportDone(++passesRun);
    }
    return rules.finish(*this);
}

template <class Touches>
void DistanceFrontRun::writeInitialCell(StripFronts::Strip &strip, CellIndex i, quint32 x,
                                        CellRole r, float start, Touches touches)
{
    Voxel &cell = current[i];
    if (r == Source) {
        cell.fixed = true;
        cell.setDistance(0.0f, 0.0f, 0.0f);
        return;
    }
    cell.setDistance(start, start, start);
    cell.fixed = r == Blocking;
    if (r == Blocking)
        return;
    if (touches())
        strip.file(i, x);
}

template <class Role, class Joins>
void DistanceFrontRun::initializeStrip(StripFronts::Strip &strip, float start, Role role,
                                       Joins joins)
{
    for (quint32 x = strip.getFirstX(); x < strip.getEndX(); ++x)
        for (quint32 y = 0; y < neighborhood.getCellsY(); ++y) {
            CellIndex i = neighborhood.index(x, y, 0);
            for (quint32 z = 0; z < neighborhood.getCellsZ(); ++z, ++i)
                writeInitialCell(strip, i, x, role(current[i], i, x, y, z), start,
                                 [&]() { return joins(i, x, y, z); });
        }
}

template <class Role>
void DistanceFrontRun::initializeStripTouchingSources(StripFronts::Strip &strip, float start,
                                                      Role role)
{
    const quint32 cellsX = neighborhood.getCellsX();
    const quint32 cellsY = neighborhood.getCellsY();
    const quint32 cellsZ = neighborhood.getCellsZ();
    const quint32 W = (cellsZ + 63) / 64;
    const size_t layerWords = size_t(cellsY) * W;
    // Per layer: the sources of each column dilated along z, then along y; three layers at a
    // time, so a cell touches a source when its bit is set in any of them.
    std::vector<quint64> zRow(layerWords), planes(3 * layerWords);
    const auto dilateLayer = [&](quint32 x, quint64 *plane) {
        if (x >= cellsX) {
            std::fill(plane, plane + layerWords, 0);
            return;
        }
        for (quint32 y = 0; y < cellsY; ++y) {
            quint64 *words = &zRow[size_t(y) * W];
            std::fill(words, words + W, 0);
            CellIndex i = neighborhood.index(x, y, 0);
            for (quint32 z = 0; z < cellsZ; ++z, ++i)
                if (role(current[i], i, x, y, z) == Source)
                    words[z >> 6] |= quint64(1) << (z & 63);
            quint64 carry = 0;
            for (quint32 w = 0; w < W; ++w) {
                const quint64 v = words[w];
                const quint64 up = w + 1 < W ? words[w + 1] << 63 : 0;
                words[w] = v | (v << 1) | (v >> 1) | carry | up;
                carry = v >> 63;
            }
        }
        ColumnBits::spreadAcrossY(zRow.data(), plane, layerWords, W);
    };
    quint64 *below = &planes[0];
    quint64 *here = &planes[layerWords];
    quint64 *above = &planes[2 * layerWords];
    dilateLayer(strip.getFirstX() == 0 ? cellsX : strip.getFirstX() - 1, below);
    dilateLayer(strip.getFirstX(), here);
    for (quint32 x = strip.getFirstX(); x < strip.getEndX(); ++x) {
        dilateLayer(x + 1, above);
        for (quint32 y = 0; y < cellsY; ++y) {
            CellIndex i = neighborhood.index(x, y, 0);
            const size_t c = size_t(y) * W;
            quint32 z = 0;
            for (quint32 w = 0; w < W; ++w) {
                // The column's touching bits a word at a time, shifted along with z. The
                // cell's own bit does not matter: a Free cell is no source.
                quint64 touching = below[c + w] | here[c + w] | above[c + w];
                const quint32 wordEnd = quint32(qMin(quint64(cellsZ), quint64(w + 1) * 64));
                for (; z < wordEnd; ++z, ++i, touching >>= 1)
                    writeInitialCell(strip, i, x, role(current[i], i, x, y, z), start,
                                     [touching]() { return (touching & 1) != 0; });
            }
        }
        quint64 *oldBelow = below;
        below = here;
        here = above;
        above = oldBelow;
    }
}

template <class Rules>
void DistanceFrontRun::runStep(Rules &rules, StripFronts::Strip &strip, int index)
{
    const Voxel *const cells = current;
    std::vector<Change> &changed = changes[size_t(index)].value;
    qint64 delta[CellNeighborhood::FaceCount];
    std::copy_n(neighborhood.getFaceDeltas(), int(CellNeighborhood::FaceCount), delta);
    const quint32 cellsZ = neighborhood.getCellsZ();
    // The front is ascending: most cells lie further up the column of the one before, so their
    // coordinates follow without dividing.
    CellIndex last = 0;
    quint32 x = 0, y = 0, z = 0;
    bool placed = false;
    const StripFronts::CellList &front = strip.getFront();
    const size_t count = front.size();
    const CellIndex cellCount = neighborhood.getCellCount();
    const CellIndex nextLayer = CellIndex(neighborhood.getCellsY()) * cellsZ;
    for (size_t k = 0; k < count; ++k) {
        // The next layer's cells are the ones not yet in the cache: asked for ahead of time.
        if (k + prefetchDistance < count) {
            const CellIndex ahead = front[k + prefetchDistance];
            prefetch(cells, ahead, cellCount);
            prefetch(cells, ahead + nextLayer, cellCount);
        }
        const CellIndex i = front[k];
        const Voxel &cell = cells[i];
        if (!rules.changeable(cell))
            continue;
        const CellIndex up = i - last;
        if (placed && up < CellIndex(cellsZ - z))
            z += quint32(up);
        else
            neighborhood.coordinates(i, x, y, z);
        placed = true;
        last = i;
        float candidate[3] = {0.0f, 0.0f, 0.0f};
        const float limit = rules.limitSquared(cell);
        const bool found =
            neighborhood.isInterior(x, y, z)
                ? distanceFront.relaxInterior(cells, i, delta, limit, candidate)
                : distanceFront.relax(cells, neighborhood, i, x, y, z, limit, candidate);
        if (!found)
            continue;
        // Field by field: a change built aside and copied in whole would be read back wider
        // than it was written, which stalls the copy.
        Change &change = changed.emplace_back();
        change.index = i;
        change.distance[0] = candidate[0];
        change.distance[1] = candidate[1];
        change.distance[2] = candidate[2];
        change.material = rules.changedMaterial(cell);
        fileFaceNeighbors(rules, strip, i, x, y, z);
    }
}

} // namespace Operations
} // namespace Core

#endif
