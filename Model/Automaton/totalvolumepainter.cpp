#include "Model/Automaton/totalvolumepainter.h"

#include "Model/Automaton/totalvolume.h"
#include "Model/palette.h"
#include "Util/systemmemory.h"
#include "Util/taskbatch.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <QThreadPool>
#include <QVector>
#include <QtAlgorithms>

#include <GL/gl.h>

#include <algorithm>
#include <limits>
#include <new>

namespace Model {
namespace Automaton {

namespace {

using Geometry::QuadFace;
using Geometry::QuadFaceList;
typedef TotalVolumePainter::MaterialLook MaterialLook;

// Room left for the rest of the program when faces are allocated.
const double usableMemoryFraction = 0.9;
// Material ids below this are found by direct indexing; larger ones by binary search.
const quint32 directLookIds = 65536;

struct Slab
{
    quint32 begin;
    quint32 end;
};

struct CutBox
{
    quint32 lower[3];
    quint32 upper[3];

    bool isEmpty() const
    {
        return lower[0] >= upper[0] || lower[1] >= upper[1] || lower[2] >= upper[2];
    }
};

struct SlabCounts
{
    quint64 opaque = 0;
    quint64 translucent = 0;
};

/// Read-only view of the painter's material looks that the build tasks share.
struct LookTable
{
    const MaterialLook *looks;
    const quint32 *index;
    std::size_t indexSize;
    const std::pair<quint32, quint32> *large;
    std::size_t largeCount;

    const MaterialLook &operator()(quint32 id) const
    {
        if (id < indexSize)
            return looks[index[id]];
        const std::pair<quint32, quint32> *end = large + largeCount;
        const std::pair<quint32, quint32> *it = std::lower_bound(
            large, end, id,
            [](const std::pair<quint32, quint32> &entry, quint32 v) { return entry.first < v; });
        return looks[(it != end && it->first == id) ? it->second : 0];
    }
};

MaterialLook makeLook(const float rgba[4])
{
    MaterialLook look;
    for (int i = 0; i < 4; ++i) {
        look.color[i] = rgba[i];
        look.highlighted[i] = rgba[i];
    }
    highlight(look.highlighted);
    // Compared in float: the thresholds are meant as typed, and 0.997f is below 0.997.
    look.opaque = rgba[3] >= TotalVolumePainter::opaqueAlpha;
    look.hidesNeighbours = rgba[3] > TotalVolumePainter::hidingAlpha;
    look.showsInternalFaces = rgba[3] <= TotalVolumePainter::faintAlpha;
    return look;
}

/// One slab per pool thread along x; one slab for the whole range when there are fewer
/// columns than threads. The last slab takes the remainder.
std::vector<Slab> splitSlabs(quint32 lower, quint32 upper)
{
    std::vector<Slab> slabs;
    if (lower >= upper)
        return slabs;
    const quint32 threads = quint32(std::max(1, QThreadPool::globalInstance()->maxThreadCount()));
    const quint32 width = (upper - lower) / threads;
    if (width == 0 || threads == 1) {
        slabs.push_back(Slab{lower, upper});
        return slabs;
    }
    slabs.reserve(threads);
    for (quint32 i = 0; i < threads; ++i) {
        const quint32 begin = lower + i * width;
        slabs.push_back(Slab{begin, i + 1 == threads ? upper : begin + width});
    }
    return slabs;
}

/// Runs task(i) for every slab on the global pool and waits for all of them. A single slab
/// runs on the calling thread.
template <typename Task> void runSlabs(const std::vector<Slab> &slabs, const Task &task)
{
    Util::TaskBatch::run(int(slabs.size()), [&task](int i) { task(std::size_t(i)); });
}

/// Allocates the lists at their exact sizes, or explains why not. Asks the system first:
/// Linux overcommits, and touching pages it cannot give would kill the program later.
bool allocateLists(QuadFaceList *lists[], const quint64 counts[], int n, QString *error)
{
    quint64 total = 0;
    for (int i = 0; i < n; ++i)
        total += counts[i];
    const double bytes = double(total) * sizeof(QuadFace);
    const quint64 available = Util::SystemMemory::availableBytes();
    bool ok = !(available != 0 && bytes > double(available) * usableMemoryFraction);
    for (int i = 0; ok && i < n; ++i)
        ok = counts[i] <= std::numeric_limits<std::size_t>::max() &&
             lists[i]->allocate(std::size_t(counts[i]));
    if (ok)
        return true;
    for (int i = 0; i < n; ++i)
        lists[i]->clear();
    *error = QStringLiteral("Cannot show the cell volume: its %1 faces need %2 of memory and "
                            "only %3 are available.")
                 .arg(total)
                 .arg(Util::SystemMemory::formatBytes(bytes),
                      Util::SystemMemory::formatBytes(double(available)));
    qDebug() << *error;
    return false;
}

/// An occupied cell with at least one visible face, and which of its sides are visible.
struct SurfaceCell
{
    quint32 x;
    quint32 y;
    quint32 z;
    quint32 sides;
};

/// Builds the cubic faces of one slab in two steps. scan walks every cell of the slab once,
/// applies the face rules and keeps the few cells that show a face, counting the faces of
/// each list; once the lists have their exact sizes, write puts the faces of those cells at
/// the slab's place in them. The lists so come out in cell order whatever the number of slabs,
/// and the cells are read only once.
struct CubicBuild
{
    const Voxel *cells;
    quint32 cellsY;
    quint32 cellsZ;
    CutBox box;
    float size[3];
    LookTable looks;
    bool selected;

    void scan(const Slab &slab, std::vector<SurfaceCell> &surface, SlabCounts &counts) const
    {
        const quint64 strideY = cellsZ;
        const quint64 strideX = quint64(cellsY) * cellsZ;
        const quint32 y0 = box.lower[1], y1 = box.upper[1];
        const quint32 z0 = box.lower[2], z1 = box.upper[2];
        // Room for the slab's outer surface; trenches and films grow it by appending.
        const quint64 w = slab.end - slab.begin, h = y1 - y0, d = z1 - z0;
        surface.reserve(std::size_t(std::min(w * h * d, 2 * (w * h + w * d + h * d))));
        quint64 opaque = 0, translucent = 0;
        quint32 lastMaterial = 0;
        const MaterialLook *own = nullptr;
        for (quint32 x = slab.begin; x < slab.end; ++x) {
            const bool lowX = x == box.lower[0];
            const bool highX = x + 1 == box.upper[0];
            for (quint32 y = y0; y < y1; ++y) {
                const bool lowY = y == y0;
                const bool highY = y + 1 == y1;
                const Voxel *column = cells + (quint64(x) * cellsY + y) * cellsZ;
                for (quint32 z = z0; z < z1; ++z) {
                    const Voxel *cell = column + z;
                    const quint32 material = cell->material;
                    if (material == 0)
                        continue;
                    if (material != lastMaterial) {
                        own = &looks(material);
                        lastMaterial = material;
                    }
                    unsigned sides;
                    if (own->opaque) {
                        const bool hides = own->hidesNeighbours;
                        auto shows = [&](const Voxel *n) {
                            const quint32 m = n->material;
                            if (m == material)
                                return !hides;
                            return m == 0 || !looks(m).hidesNeighbours;
                        };
                        sides = visibleSides(shows, cell, z == z0, z + 1 == z1, lowY, highY, lowX,
                                             highX, strideY, strideX);
                    } else {
                        const bool internal = own->showsInternalFaces;
                        auto shows = [&](const Voxel *n) {
                            return n->material != material || internal;
                        };
                        sides = visibleSides(shows, cell, z == z0, z + 1 == z1, lowY, highY, lowX,
                                             highX, strideY, strideX);
                    }
                    if (sides == 0)
                        continue;
                    surface.push_back(SurfaceCell{x, y, z, sides});
                    (own->opaque ? opaque : translucent) += quint64(qPopulationCount(sides));
                }
            }
        }
        counts.opaque = opaque;
        counts.translucent = translucent;
    }

    void write(const std::vector<SurfaceCell> &surface, QuadFace *opaqueOut,
               QuadFace *translucentOut) const
    {
        quint32 lastMaterial = 0;
        const MaterialLook *own = nullptr;
        float xs[2], ys[2], zs[2];
        for (const SurfaceCell &s : surface) {
            const Voxel *cell = cells + (quint64(s.x) * cellsY + s.y) * cellsZ + s.z;
            const quint32 material = cell->material;
            if (material != lastMaterial) {
                own = &looks(material);
                lastMaterial = material;
            }
            xs[0] = float(s.x) * size[0];
            xs[1] = float(s.x + 1) * size[0];
            ys[0] = float(s.y) * size[1];
            ys[1] = float(s.y + 1) * size[1];
            zs[0] = float(s.z) * size[2];
            zs[1] = float(s.z + 1) * size[2];
            const float *color = selected ? own->highlighted : own->color;
            QuadFace *&out = own->opaque ? opaqueOut : translucentOut;
            for (int side = 0; side < QuadFace::SideCount; ++side) {
                if (!(s.sides & (1u << side)))
                    continue;
                out->setGeometry(side, xs, ys, zs);
                out->setColors(color);
                out->voxel = cell;
                ++out;
            }
        }
    }

    /// Bit s set when side s (in face-table order) is shown: always on the cut box boundary,
    /// otherwise as the neighbour rule says.
    template <typename Shows>
    static unsigned visibleSides(const Shows &shows, const Voxel *cell, bool lowZ, bool highZ,
                                 bool lowY, bool highY, bool lowX, bool highX, quint64 strideY,
                                 quint64 strideX)
    {
        unsigned sides = 0;
        if (lowZ || shows(cell - 1))
            sides |= 1u << QuadFace::Bottom;
        if (highZ || shows(cell + 1))
            sides |= 1u << QuadFace::Top;
        if (lowY || shows(cell - strideY))
            sides |= 1u << QuadFace::Front;
        if (highY || shows(cell + strideY))
            sides |= 1u << QuadFace::Back;
        if (lowX || shows(cell - strideX))
            sides |= 1u << QuadFace::Left;
        if (highX || shows(cell + strideX))
            sides |= 1u << QuadFace::Right;
        return sides;
    }
};

/// Walks the empty cells of one slab: counts them, or writes their six faces.
struct EmptyCellBuild
{
    const Voxel *cells;
    quint32 cellsY;
    quint32 cellsZ;
    CutBox box;
    float size[3];

    template <bool Write> quint64 visit(const Slab &slab, QuadFace *out) const
    {
        quint64 written = 0;
        float xs[2], ys[2], zs[2];
        for (quint32 x = slab.begin; x < slab.end; ++x) {
            xs[0] = float(x) * size[0];
            xs[1] = float(x + 1) * size[0];
            for (quint32 y = box.lower[1]; y < box.upper[1]; ++y) {
                ys[0] = float(y) * size[1];
                ys[1] = float(y + 1) * size[1];
                const Voxel *column = cells + (quint64(x) * cellsY + y) * cellsZ;
                for (quint32 z = box.lower[2]; z < box.upper[2]; ++z) {
                    if (column[z].material != 0)
                        continue;
                    if (!Write) {
                        written += QuadFace::SideCount;
                        continue;
                    }
                    zs[0] = float(z) * size[2];
                    zs[1] = float(z + 1) * size[2];
                    for (int side = 0; side < QuadFace::SideCount; ++side) {
                        out->setGeometry(side, xs, ys, zs);
                        out->setColors(TotalVolumePainter::emptyCellColor);
                        out->voxel = column + z;
                        ++out;
                        ++written;
                    }
                }
            }
        }
        return written;
    }
};

void emitFaces(const QuadFaceList &faces)
{
    for (const QuadFace &face : faces) {
        glNormal3fv(face.normal);
        glColor4fv(face.color);
        for (int v = 0; v < 4; ++v)
            glVertex3fv(face.vertices[v]);
    }
}

/// Outlines in a darker shade of their colour: in the face's own colour they merge with it
/// (the picture turns into a flat silhouette) instead of showing where the cells are.
const float outlineShade = 0.55f;

void emitOutlines(const QuadFaceList &faces)
{
    for (const QuadFace &face : faces) {
        const float *c = face.outlineColor;
        glColor4f(c[0] * outlineShade, c[1] * outlineShade, c[2] * outlineShade, c[3]);
        for (int v = 0; v < 4; ++v)
            glVertex3fv(face.vertices[v]);
    }
}

/// A photolithography mask as a translucent plane: one square per set bit (x, y), bit
/// x * height + y. Bits beyond the vector (a mask shorter than its stated size) are unset.
void emitMask(const std::vector<bool> &bits, quint32 width, quint32 height, quint32 cellsX,
              quint32 cellsY, const float size[3], float z)
{
    const quint32 w = std::min(width, cellsX);
    const quint32 h = std::min(height, cellsY);
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (quint32 x = 0; x < w; ++x) {
        const float x0 = float(x) * size[0], x1 = float(x + 1) * size[0];
        for (quint32 y = 0; y < h; ++y) {
            const quint64 bit = quint64(x) * height + y;
            if (bit >= bits.size() || !bits[bit])
                continue;
            const float y0 = float(y) * size[1], y1 = float(y + 1) * size[1];
            glVertex3f(x0, y0, z);
            glVertex3f(x1, y0, z);
            glVertex3f(x1, y1, z);
            glVertex3f(x0, y1, z);
        }
    }
}

} // namespace

TotalVolumePainter::TotalVolumePainter(TotalVolume *volume)
    : materials(Materials::MaterialFactory::instance()), volume(volume),
      showEmptyVoxelOutlines(false), suspended(false), colorsSelected(!volume->isSelected()),
      surfaceAlgorithm(DirectCubicAlgorithm), cellsX(volume->getCellsX()),
      cellsY(volume->getCellsY()), cellsZ(volume->getCellsZ()), cellSizeX(volume->getCellSizeX()),
      cellSizeY(volume->getCellSizeY()),
      cellSizeZ(volume->getCellSizeZ()), cutLower{0, 0, 0}, cutUpper{cellsX, cellsY, cellsZ},
      marchingCubes(volume), octree(volume), atomicRenderer(volume, clipPlanes)
{
    setCutLimits(cutLower, cutUpper);
}

TotalVolumePainter::~TotalVolumePainter() = default;

void TotalVolumePainter::refreshColorMap()
{
    colorMap.clear();
    looks.clear();
    lookIndex.clear();
    largeIdLooks.clear();
    looks.push_back(makeLook(unknownMaterialColor));
    for (const Materials::Material &material : materials->getMaterials()) {
        Color color;
        material.getColor(color.data());
        colorMap[material.getId()] = color;
    }
    const quint32 maxId = colorMap.empty() ? 0 : colorMap.rbegin()->first;
    lookIndex.assign(std::size_t(std::min(maxId, directLookIds - 1)) + 1, 0);
    looks.reserve(colorMap.size() + 1);
    for (const auto &entry : colorMap) {
        const quint32 index = quint32(looks.size());
        looks.push_back(makeLook(entry.second.data()));
        if (entry.first < lookIndex.size())
            lookIndex[entry.first] = index;
        else
            largeIdLooks.emplace_back(entry.first, index);
    }
}

const TotalVolumePainter::MaterialLook &TotalVolumePainter::look(quint32 material) const
{
    const LookTable table{looks.data(), lookIndex.data(), lookIndex.size(), largeIdLooks.data(),
                          largeIdLooks.size()};
    return table(material);
}

void TotalVolumePainter::readCutBox(quint32 lower[3], quint32 upper[3]) const
{
    QMutexLocker locker(&cutMutex);
    for (int i = 0; i < 3; ++i) {
        lower[i] = cutLower[i];
        upper[i] = cutUpper[i];
    }
}

void TotalVolumePainter::buildCubicFaces()
{
    QElapsedTimer timer;
    timer.start();
    opaqueFaces.clear();
    translucentFaces.clear();
    cubicError.clear();
    refreshColorMap();
    const bool selected = volume->isSelected();

    CutBox box;
    readCutBox(box.lower, box.upper);
    const std::vector<Slab> slabs =
        box.isEmpty() ? std::vector<Slab>() : splitSlabs(box.lower[0], box.upper[0]);
    const LookTable table{looks.data(), lookIndex.data(), lookIndex.size(), largeIdLooks.data(),
                          largeIdLooks.size()};

    const Voxel *cells = volume->lockCells();
    const CubicBuild build{cells, cellsY,  cellsZ, box, {cellSizeX, cellSizeY, cellSizeZ},
                           table, selected};
    std::vector<std::vector<SurfaceCell>> surfaces(slabs.size());
    std::vector<SlabCounts> counts(slabs.size());
    // The surface lists are the only allocation in the tasks; a task that cannot have its
    // memory says so instead of throwing across the thread pool.
    std::vector<char> outOfMemory(slabs.size(), 0);
    runSlabs(slabs, [&](std::size_t i) {
        try {
            build.scan(slabs[i], surfaces[i], counts[i]);
        } catch (const std::bad_alloc &) {
            outOfMemory[i] = 1;
        }
    });
    const bool scanned = std::find(outOfMemory.begin(), outOfMemory.end(), 1) == outOfMemory.end();
    std::vector<SlabCounts> offsets(slabs.size());
    SlabCounts total;
    for (std::size_t i = 0; i < slabs.size(); ++i) {
        offsets[i] = total;
        total.opaque += counts[i].opaque;
        total.translucent += counts[i].translucent;
    }
    QuadFaceList *lists[2] = {&opaqueFaces, &translucentFaces};
    const quint64 sizes[2] = {total.opaque, total.translucent};
    if (!scanned) {
        cubicError = QStringLiteral("Cannot show the cell volume: out of memory.");
        qDebug() << cubicError;
    } else if (allocateLists(lists, sizes, 2, &cubicError)) {
        QuadFace *opaqueOut = opaqueFaces.data();
        QuadFace *translucentOut = translucentFaces.data();
        runSlabs(slabs, [&](std::size_t i) {
            build.write(surfaces[i], opaqueOut + offsets[i].opaque,
                        translucentOut + offsets[i].translucent);
        });
    }
    volume->releaseCells();
    colorsSelected = selected;
    qDebug() << "Built" << opaqueFaces.size() << "opaque and" << translucentFaces.size()
             << "translucent faces in" << slabs.size() << "slabs; Elapsed time " << timer.elapsed()
             << "ms";
}

void TotalVolumePainter::buildEmptyCellFaces()
{
    emptyCellFaces.clear();
    emptyCellError.clear();
    CutBox box;
    readCutBox(box.lower, box.upper);
    const std::vector<Slab> slabs =
        box.isEmpty() ? std::vector<Slab>() : splitSlabs(box.lower[0], box.upper[0]);

    const Voxel *cells = volume->lockCells();
    const EmptyCellBuild build{cells, cellsY, cellsZ, box, {cellSizeX, cellSizeY, cellSizeZ}};
    std::vector<quint64> counts(slabs.size());
    runSlabs(slabs, [&](std::size_t i) { counts[i] = build.visit<false>(slabs[i], nullptr); });
    std::vector<quint64> offsets(slabs.size());
    quint64 total = 0;
    for (std::size_t i = 0; i < slabs.size(); ++i) {
        offsets[i] = total;
        total += counts[i];
    }
    QuadFaceList *lists[1] = {&emptyCellFaces};
    if (allocateLists(lists, &total, 1, &emptyCellError)) {
        QuadFace *out = emptyCellFaces.data();
        runSlabs(slabs, [&](std::size_t i) { build.visit<true>(slabs[i], out + offsets[i]); });
    }
    volume->releaseCells();
}

QString TotalVolumePainter::getLastError() const
{
    if (!cubicError.isEmpty())
        return cubicError;
    if (surfaceAlgorithm == MarchingCubesAlgorithm && !marchingCubes.getLastError().isEmpty())
        return marchingCubes.getLastError();
    if (surfaceAlgorithm == OctreeAlgorithm && !octree.getLastError().isEmpty())
        return octree.getLastError();
    return emptyCellError;
}

void TotalVolumePainter::buildSurface()
{
    quint32 lower[3], upper[3];
    readCutBox(lower, upper);
    if (surfaceAlgorithm == OctreeAlgorithm)
        octree.rebuild(lower, upper);
    else
        octree.clear();
    if (surfaceAlgorithm == MarchingCubesAlgorithm)
        marchingCubes.rebuild(lower, upper);
    else
        marchingCubes.clear();
}

void TotalVolumePainter::refresh()
{
    buildCubicFaces();
    buildSurface();
    if (showEmptyVoxelOutlines) {
        buildEmptyCellFaces();
    } else {
        emptyCellFaces.clear();
        emptyCellError.clear();
    }
    atomicRenderer.buildUnitCells();
    atomicRenderer.buildAtoms();
}

void TotalVolumePainter::recolorFaces(QuadFaceList &faces, bool selected) const
{
    quint32 lastMaterial = 0;
    const MaterialLook *current = &look(0);
    for (QuadFace &face : faces) {
        const quint32 material = face.voxel->material;
        if (material != lastMaterial) {
            current = &look(material);
            lastMaterial = material;
        }
        face.setColors(selected ? current->highlighted : current->color);
    }
}

bool TotalVolumePainter::recolor(bool waitForCells)
{
    const bool selected = volume->isSelected();
    // The cubic faces read their materials from the cells.
    const bool readsCells = surfaceAlgorithm == DirectCubicAlgorithm &&
                            (!opaqueFaces.isEmpty() || !translucentFaces.isEmpty());
    if (readsCells) {
        if (waitForCells)
            volume->lockCells();
        else if (!volume->tryLockCells())
            return false;
    }
    if (surfaceAlgorithm == OctreeAlgorithm)
        octree.recolor();
    // The marching-cubes surface takes its colours at every draw; the cubic faces get theirs
    // again when they are shown next.
    if (surfaceAlgorithm == DirectCubicAlgorithm)
        refreshColorMap();
    if (readsCells) {
        recolorFaces(opaqueFaces, selected);
        recolorFaces(translucentFaces, selected);
        volume->releaseCells();
    }
    colorsSelected = selected;
    return true;
}

void TotalVolumePainter::setCutLimits(const quint32 lower[3], const quint32 upper[3])
{
    const quint32 counts[3] = {cellsX, cellsY, cellsZ};
    QMutexLocker locker(&cutMutex);
    for (int i = 0; i < 3; ++i) {
        // Out-of-range limits would make the builders read outside the cell array.
        cutUpper[i] = std::min(upper[i], counts[i]);
        cutLower[i] = std::min(lower[i], cutUpper[i]);
    }
    std::vector<Util::Vector4D> planes;
    planes.reserve(6);
    for (int axis = 0; axis < 3; ++axis) {
        Util::Vector4D low, high;
        low[axis] = -1.0;
        low.w = double(cutLower[axis]);
        high[axis] = 1.0;
        high.w = -double(cutUpper[axis]);
        planes.push_back(low);
        planes.push_back(high);
    }
    clipPlanes.setPlanes(planes);
}

void TotalVolumePainter::getCutLimits(quint32 lower[3], quint32 upper[3]) const
{
    readCutBox(lower, upper);
}

void TotalVolumePainter::setShowEmptyVoxelOutlines(bool show)
{
    showEmptyVoxelOutlines = show;
    if (!show) {
        emptyCellFaces.clear(); // six faces per empty cell: worth giving back at once
        emptyCellError.clear();
    }
}

void TotalVolumePainter::setSurfaceAlgorithm(quint32 algorithm, bool rebuild)
{
    if (algorithm >= SurfaceAlgorithmCount || algorithm == surfaceAlgorithm)
        return;
    surfaceAlgorithm = algorithm;
    if (!rebuild)
        return;
    buildCubicFaces();
    buildSurface();
}

void TotalVolumePainter::draw(bool renderObjects, bool renderEdges)
{
    if (suspended)
        return;
    // While a step works on the cells the old colours stay: the window must not wait for it.
    if (volume->isSelected() != colorsSelected)
        recolor(false);

    Util::Vector3D origin = volume->getPosition();
    if (volume->isPreview())
        origin += volume->getPreviewDisplacement();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslated(origin.x, origin.y, origin.z);
    if (!renderObjects) {
        glPopMatrix();
        return;
    }

    // Solid pass.
    atomicRenderer.drawSolid();
    if (surfaceAlgorithm == MarchingCubesAlgorithm)
        marchingCubes.draw(renderEdges);
    else if (surfaceAlgorithm == OctreeAlgorithm)
        octree.draw(renderEdges, true);
    else
        drawCubicFaces(renderEdges);

    // Translucent pass: list order, no sorting, no depth writes.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    atomicRenderer.drawTranslucent();
    if (surfaceAlgorithm == OctreeAlgorithm) {
        octree.draw(renderEdges, false);
    } else if (surfaceAlgorithm == DirectCubicAlgorithm) {
        glBegin(GL_QUADS);
        emitFaces(translucentFaces);
        glEnd();
    }

    // Masks, five cells below and above the volume.
    const float size[3] = {cellSizeX, cellSizeY, cellSizeZ};
    quint32 width = 0, height = 0;
    glDisable(GL_CULL_FACE);
    glColor4f(0.2f, 0.8f, 0.2f, 0.3f);
    glBegin(GL_QUADS);
    volume->getBottomMaskSize(width, height);
    emitMask(volume->getBottomMask(), width, height, cellsX, cellsY, size, -5.0f * cellSizeZ);
    volume->getTopMaskSize(width, height);
    emitMask(volume->getTopMask(), width, height, cellsX, cellsY, size,
             float(quint64(cellsZ) + 5) * cellSizeZ);
    glEnd();
    glPopAttrib();

    glPopMatrix();
}

void TotalVolumePainter::drawCubicFaces(bool renderEdges)
{
    glBegin(GL_QUADS);
    emitFaces(opaqueFaces);
    glEnd();
    if (renderEdges) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glDisable(GL_LIGHTING);
        // Edges are drawn as polygons in line mode, which only the line offset moves towards
        // the viewer; without it they would sink half into the faces they outline.
        glEnable(GL_POLYGON_OFFSET_FILL);
        glEnable(GL_POLYGON_OFFSET_LINE);
        glPolygonOffset(-2.5f, -2.5f);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glLineWidth(1.0f); // thin, so that small cells keep their faces between the lines
        glBegin(GL_QUADS);
        emitOutlines(opaqueFaces);
        emitOutlines(translucentFaces);
        if (showEmptyVoxelOutlines)
            emitOutlines(emptyCellFaces);
        glEnd();
        glPopAttrib();
    }
}

void TotalVolumePainter::drawForPicking()
{
    Util::Vector3D origin = volume->getPosition();
    if (volume->isPreview())
        origin += volume->getPreviewDisplacement();
    const float xs[2] = {0.0f, float(cellsX) * cellSizeX};
    const float ys[2] = {0.0f, float(cellsY) * cellSizeY};
    const float zs[2] = {0.0f, float(cellsZ) * cellSizeZ};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslated(origin.x, origin.y, origin.z);
    glBegin(GL_QUADS);
    for (int side = 0; side < QuadFace::SideCount; ++side) {
        glNormal3fv(QuadFace::normals[side]);
        for (int v = 0; v < 4; ++v)
            glVertex3f(xs[QuadFace::offsets[side][v][0]], ys[QuadFace::offsets[side][v][1]],
                       zs[QuadFace::offsets[side][v][2]]);
    }
    glEnd();
    glPopMatrix();
}

} // namespace Automaton
} // namespace Model
