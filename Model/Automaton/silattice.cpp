#include "Model/Automaton/silattice.h"

#include "Model/Automaton/totalvolume.h"
#include "Util/systemmemory.h"

#include <QDebug>
#include <QElapsedTimer>

#include <cmath>
#include <limits>
#include <new>
#include <vector>

namespace Model {
namespace Automaton {

namespace {
const double h = std::sqrt(2.0) / 2.0;
// Room left for the rest of the program when the crystal is allocated.
const double usableMemoryFraction = 0.9;
// A std::map node with its key and shared pointer, as the allocator hands it out.
const quint64 mapNodeBytes = 64;
const quint32 noCell = std::numeric_limits<quint32>::max();
} // namespace

/// All unit cells of one lattice in one block: no allocation and no control block per cell.
/// The map's shared pointers share the ownership of the block.
struct SiLattice::CellStore
{
    explicit CellStore(std::size_t capacity)
        : cells(static_cast<SiCell *>(::operator new(capacity * sizeof(SiCell)))), count(0)
    {}
    ~CellStore()
    {
        for (std::size_t i = count; i > 0; --i)
            cells[i - 1].~SiCell();
        ::operator delete(cells);
    }
    CellStore(const CellStore &) = delete;
    CellStore &operator=(const CellStore &) = delete;

    SiCell *cells;
    std::size_t count;
};

SiLattice::SiLattice(TotalVolume *volume)
    : volume(volume), volumeCellsX(volume->getCellsX()), volumeCellsY(volume->getCellsY()),
      volumeCellsZ(volume->getCellsZ()), volumePosition(volume->getPosition()), cellsA(0),
      cellsB(0), cellsC(0), currentCells(nullptr),
      nextCells(nullptr), cellSize{volume->getCellSizeX(), volume->getCellSizeY(),
                                   volume->getCellSizeZ()}
{
    // The lattice constant is one world unit: the grid spans the volume's world extent (its
    // cell counts for cells of size 1).
    const double extentX = volumeCellsX * cellSize[0];
    const double extentY = volumeCellsY * cellSize[1];
    const double extentZ = volumeCellsZ * cellSize[2];
    const double horizontal = std::ceil((extentX + extentY) / std::sqrt(2.0));
    const double vertical = std::ceil(extentZ);
    const double limit = double(std::numeric_limits<quint32>::max());
    cellsA = horizontal > 0.0 && horizontal < limit ? quint32(horizontal) : 0;
    cellsB = cellsA;
    cellsC = vertical > 0.0 && vertical < limit ? quint32(vertical) : 0;
    origin = volumePosition + Util::Vector3D(extentX / 2.0, -extentX / 2.0, 0.0);
    const double corners[8][3] = {{0, 0, 0},
                                  {0, 0, 1},
                                  {-h, h, 0},
                                  {-h, h, 1},
                                  {h, h, 0},
                                  {h, h, 1},
                                  {0, std::sqrt(2.0), 0},
                                  {0, std::sqrt(2.0), 1}};
    for (int c = 0; c < 8; ++c)
        unitCellCorners[c] = Util::Vector3D(corners[c][0], corners[c][1], corners[c][2]);
    SiCell::turnCosSin(45.0, turnCos, turnSin);
}

SiLattice::~SiLattice() = default;

SiCell *SiLattice::getCellArray() const
{
    return store ? store->cells : nullptr;
}

std::size_t SiLattice::getCellArraySize() const
{
    return store ? store->count : 0;
}

quint64 SiLattice::getBoundaryAtomCount() const
{
    quint64 n = 0;
    for (const AtomPool &pool : boundaryAtoms)
        n += pool.size();
    return n;
}

void SiLattice::adoptBoundaryAtoms(AtomPool &pool)
{
    if (pool.empty())
        return;
    boundaryAtoms.emplace_back();
    boundaryAtoms.back().swap(pool);
}

bool SiLattice::fits(const TotalVolume &v) const
{
    const Util::Vector3D p = v.getPosition();
    return &v == volume && v.getCellsX() == volumeCellsX && v.getCellsY() == volumeCellsY &&
           v.getCellsZ() == volumeCellsZ && p.x == volumePosition.x && p.y == volumePosition.y &&
           p.z == volumePosition.z && double(v.getCellSizeX()) == cellSize[0] &&
           double(v.getCellSizeY()) == cellSize[1] && double(v.getCellSizeZ()) == cellSize[2];
}

qint64 SiLattice::volumeCellIndexAt(const Util::Vector3D &p) const
{
    const double q[3] = {(p.x - volumePosition.x) / cellSize[0],
                         (p.y - volumePosition.y) / cellSize[1],
                         (p.z - volumePosition.z) / cellSize[2]};
    const quint32 counts[3] = {volumeCellsX, volumeCellsY, volumeCellsZ};
    quint64 c[3];
    for (int a = 0; a < 3; ++a) {
        if (!(q[a] >= 0.0) || !(q[a] < double(counts[a])))
            return -1;
        c[a] = quint64(q[a]);
    }
    return qint64((c[0] * volumeCellsY + c[1]) * volumeCellsZ + c[2]);
}

void SiLattice::atomPosition(quint32 i, quint32 j, quint32 k, int atom, double out[3]) const
{
    // The same operations as building the cell, turning it and moving it: same doubles.
    out[0] = double(i) + SiCell::basis[atom][0];
    out[1] = double(j) + SiCell::basis[atom][1];
    out[2] = double(k) + SiCell::basis[atom][2];
    SiCell::turn(out, 2, turnCos, turnSin);
    out[0] += origin.x;
    out[1] += origin.y;
    out[2] += origin.z;
}

bool SiLattice::columnMayTouchVolume(quint32 i, quint32 j) const
{
    double centre[3] = {double(i) + 0.5, double(j) + 0.5, 0.0};
    SiCell::turn(centre, 2, turnCos, turnSin);
    const double x = centre[0] + origin.x - volumePosition.x;
    const double y = centre[1] + origin.y - volumePosition.y;
    const double margin = h + 1e-6; // half the diagonal of a unit cell, rounded up
    return x >= -margin && x <= volumeCellsX * cellSize[0] + margin && y >= -margin &&
           y <= volumeCellsY * cellSize[1] + margin;
}

bool SiLattice::initialize(QString *error)
{
    cells.clear();
    store.reset();
    const quint64 gridCells = quint64(cellsA) * cellsB * cellsC;
    const quint64 volumeCells = volume->getCellCount();
    if (gridCells > noCell || volumeCells > quint64(std::numeric_limits<qint32>::max())) {
        if (error)
            *error = QStringLiteral("The cell volume is too large for a silicon crystal.");
        return false;
    }

    QElapsedTimer timer;
    timer.start();
    currentCells = volume->lockCells();
    nextCells = volume->lockNextCells();
    bool ok = true;
    try {
        // Every atom of an earlier crystal counted itself in the tags: start from zero.
        for (quint64 n = 0; n < volumeCells; ++n) {
            currentCells[n].tag = 0;
            nextCells[n].tag = 0;
        }
        // Which unit cells hold silicon, in grid order.
        std::vector<quint32> stored;
        for (quint32 i = 0; i < cellsA; ++i)
            for (quint32 j = 0; j < cellsB; ++j) {
                if (!columnMayTouchVolume(i, j))
                    continue;
                for (quint32 k = 0; k < cellsC; ++k)
                    for (int a = 0; a < SiCell::atomCount; ++a) {
                        double p[3];
                        atomPosition(i, j, k, a, p);
                        const qint64 n = volumeCellIndexAt(Util::Vector3D(p[0], p[1], p[2]));
                        if (n >= 0 && currentCells[n].material == 1) {
                            stored.push_back(unitCellIndex(i, j, k));
                            break;
                        }
                    }
            }

        qDebug() << "Unit cells holding silicon found; Elapsed time " << timer.elapsed() << "ms";
        const quint64 needed =
            quint64(stored.size()) * (sizeof(SiCell) + mapNodeBytes) + gridCells * sizeof(quint32);
        const quint64 available = Util::SystemMemory::availableBytes();
        if (available != 0 && double(needed) > double(available) * usableMemoryFraction) {
            if (error)
                *error = QStringLiteral("Not enough memory for the silicon crystal: it needs %1 "
                                        "and only %2 are available.")
                             .arg(Util::SystemMemory::formatBytes(double(needed)),
                                  Util::SystemMemory::formatBytes(double(available)));
            ok = false;
        }

        if (ok) {
            store.reset(new CellStore(stored.size()));
            std::vector<quint32> slotOf(std::size_t(gridCells), noCell);
            const Util::Vector3D shift = origin;
            for (quint32 index : stored) {
                const quint32 i = index / (cellsB * cellsC);
                const quint32 j = (index / cellsC) % cellsB;
                const quint32 k = index % cellsC;
                SiCell *cell =
                    new (store->cells + store->count) SiCell(qint32(i), qint32(j), qint32(k));
                slotOf[index] = quint32(store->count);
                ++store->count;
                cell->setOwner(store);
                cell->rotate(0.0, 0.0, 45.0);
                cell->translate(shift);
                for (int a = 0; a < SiCell::atomCount; ++a) {
                    SiAtom *atom = cell->getAtom(a);
                    const qint64 n = volumeCellIndexAt(atom->getPosition());
                    if (n < 0) {
                        atom->setState(SiAtom::Fixed);
                        continue;
                    }
                    atom->setCellIndex(qint32(n));
                    const quint32 material = currentCells[n].material;
                    if (material == 1) {
                        ++currentCells[n].tag;
                        ++nextCells[n].tag;
                    } else {
                        atom->setState(material == 0 ? SiAtom::Absent : SiAtom::Fixed);
                    }
                }
                cells.emplace_hint(cells.end(), index, SiCell::Ptr(store, cell));
            }
            qDebug() << "Atoms placed; Elapsed time " << timer.elapsed() << "ms";
            const int steps[SiCell::DirectionCount][3] = {{0, 1, 0}, {1, 0, 0}, {0, 0, 1},
                                                          {1, 1, 0}, {1, 0, 1}, {0, 1, 1}};
            for (quint32 index : stored) {
                const quint32 i = index / (cellsB * cellsC);
                const quint32 j = (index / cellsC) % cellsB;
                const quint32 k = index % cellsC;
                SiCell &cell = store->cells[slotOf[index]];
                for (int d = 0; d < SiCell::DirectionCount; ++d) {
                    const quint32 ni = i + quint32(steps[d][0]);
                    const quint32 nj = j + quint32(steps[d][1]);
                    const quint32 nk = k + quint32(steps[d][2]);
                    if (ni >= cellsA || nj >= cellsB || nk >= cellsC)
                        continue;
                    const quint32 slot = slotOf[unitCellIndex(ni, nj, nk)];
                    if (slot != noCell)
                        cell.linkNeighbor(store->cells[slot], SiCell::Direction(d));
                }
            }
        }
    } catch (const std::bad_alloc &) {
        cells.clear();
        store.reset();
        if (error)
            *error = QStringLiteral("Not enough memory for the silicon crystal of this cell "
                                    "volume.");
        ok = false;
    }
    if (!ok) {
        // No crystal, so no atom counts either.
        for (quint64 n = 0; n < volumeCells; ++n) {
            currentCells[n].tag = 0;
            nextCells[n].tag = 0;
        }
    }
    volume->releaseNextCells();
    volume->releaseCells();
    currentCells = nullptr;
    nextCells = nullptr;
    qDebug() << "Silicon crystal:" << cells.size() << "unit cells of"
             << quint64(cellsA) * cellsB * cellsC << "; Elapsed time " << timer.elapsed() << "ms";
    return ok;
}

} // namespace Automaton
} // namespace Model
