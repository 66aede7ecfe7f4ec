#include "Model/Automaton/marchingcubesurface.h"

#include "Model/Automaton/marchingcubetables.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Automaton/totalvolumepainter.h"
#include "Model/Materials/materialfactory.h"
#include "Model/palette.h"
#include "Util/systemmemory.h"
#include "Util/taskbatch.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <QThreadPool>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <new>

namespace Model {
namespace Automaton {

namespace {

typedef MarchingCubeTables Tables;

// Room left for the rest of the program when triangles are allocated.
const double usableMemoryFraction = 0.9;

/// A vertex and its smoothing key: the nearest grid point of the vertex.
struct KeyedVertex
{
    quint64 key;
    quint64 vertex;
};

/// Marches the cubes whose base cell has x in [xBegin, xEnd). Cube (x, y, z) has its corners
/// at the centres of cells x..x+1, y..y+1, z..z+1; bases start one cell below the box so that
/// the cubes straddling its lower faces close the surface there. Run once to count the
/// triangles and once to write them at their place in the final list, so the list is
/// allocated once at its exact size and comes out in the same order for any slab split.
struct SlabBuild
{
    const Voxel *cells;
    quint32 cellsY;
    quint32 cellsZ;
    qint64 lower[3];
    qint64 upper[3];
    float size[3];
    const Tables *tables;
    /// The one material that counts as occupied, or 0 for every non-empty cell.
    quint32 only;

    bool occupied(quint32 material) const
    {
        return material != 0 && (only == 0 || material == only);
    }

    /// Without out, counts the triangles; with out (and keys), writes them from index first.
    quint64 run(qint64 xBegin, qint64 xEnd, Triangle *out, KeyedVertex *keys, quint64 first) const
    {
        // Occupancy is packed into bits, one word per 64 layers of a column, with an empty
        // layer below and above the box; a plane holds the columns y = lower - 1 .. upper of
        // one x. Whole words of cubes whose eight corners agree are then skipped at once, and
        // only the cubes the surface passes through are looked at one by one.
        const qint64 x0 = lower[0], x1 = upper[0], y0 = lower[1], y1 = upper[1];
        const qint64 z0 = lower[2], z1 = upper[2];
        const qint64 layers = z1 - z0 + 2;
        const std::size_t words = std::size_t((layers + 63) / 64);
        const std::size_t columns = std::size_t(y1 - y0 + 2);
        std::vector<quint64> planeA(columns * words), planeB(columns * words);
        quint64 *current = planeA.data(), *next = planeB.data();
        // Columns outside the box read this one when a cube is marched.
        const std::vector<Voxel> emptyColumn(cellsZ, Voxel(0));

        auto fillPlane = [&](qint64 cx, quint64 *plane) {
            std::fill(plane, plane + columns * words, quint64(0));
            if (cx < x0 || cx >= x1)
                return;
            for (qint64 cy = y0; cy < y1; ++cy) {
                quint64 *bits = plane + std::size_t(cy - (y0 - 1)) * words;
                const Voxel *column = cells + (quint64(cx) * cellsY + quint64(cy)) * cellsZ;
                for (qint64 z = z0; z < z1; ++z)
                    if (occupied(column[z].material)) {
                        const quint64 layer = quint64(z - z0 + 1);
                        bits[layer >> 6] |= quint64(1) << (layer & 63);
                    }
            }
        };

        // Cube bit b (z = z0 - 1 + b) uses layers b and b + 1; there are layers - 1 cubes.
        const quint64 cubes = quint64(layers - 1);
        quint64 count = 0;
        fillPlane(xBegin, current);
        for (qint64 x = xBegin; x < xEnd; ++x) {
            fillPlane(x + 1, next);
            for (qint64 y = y0 - 1; y < y1; ++y) {
                const std::size_t low = std::size_t(y - (y0 - 1)) * words;
                // Corners 0 to 3 sit at (x, y + 1), (x + 1, y + 1), (x + 1, y), (x, y).
                const quint64 *bits[4] = {current + low + words, next + low + words, next + low,
                                          current + low};
                const Voxel *column[4] = {nullptr, nullptr, nullptr, nullptr};
                for (std::size_t w = 0; w < words; ++w) {
                    const quint64 any = bits[0][w] | bits[1][w] | bits[2][w] | bits[3][w];
                    const quint64 all = bits[0][w] & bits[1][w] & bits[2][w] & bits[3][w];
                    quint64 anyAbove = any >> 1, allAbove = all >> 1;
                    if (w + 1 < words) {
                        anyAbove |=
                            (bits[0][w + 1] | bits[1][w + 1] | bits[2][w + 1] | bits[3][w + 1])
                            << 63;
                        allAbove |=
                            (bits[0][w + 1] & bits[1][w + 1] & bits[2][w + 1] & bits[3][w + 1])
                            << 63;
                    }
                    quint64 mixed = (any ^ all) | (anyAbove ^ allAbove) | (all ^ allAbove);
                    const quint64 firstCube = quint64(w) * 64;
                    if (cubes - firstCube < 64)
                        mixed &= (quint64(1) << (cubes - firstCube)) - 1;
                    while (mixed) {
                        const int bit = __builtin_ctzll(mixed);
                        mixed &= mixed - 1;
                        const quint64 b = firstCube + quint64(bit);
                        unsigned index = 0;
                        for (int k = 0; k < 8; ++k) {
                            const quint64 layer = b + quint64(k >> 2);
                            index |= unsigned((bits[k & 3][layer >> 6] >> (layer & 63)) & 1) << k;
                        }
                        if (out) {
                            if (!column[0])
                                for (int k = 0; k < 4; ++k) {
                                    const qint64 cx = x + Tables::corners[k][0];
                                    const qint64 cy = y + Tables::corners[k][1];
                                    const bool inside = cx >= x0 && cx < x1 && cy >= y0 && cy < y1;
                                    column[k] =
                                        inside
                                            ? cells + (quint64(cx) * cellsY + quint64(cy)) * cellsZ
                                            : emptyColumn.data();
                                }
                            march(x, y, z0 - 1 + qint64(b), index, column, out + count, keys,
                                  first + count);
                        }
                        count += tables->triangleCount[index];
                    }
                }
            }
            std::swap(current, next);
        }
        return count;
    }

    void march(qint64 x, qint64 y, qint64 z, unsigned index, const Voxel *const column[4],
               Triangle *out, KeyedVertex *keys, quint64 first) const
    {
        quint32 value[8];
        for (int k = 0; k < 8; ++k) {
            const qint64 zz = z + (k >> 2);
            const quint32 material =
                zz >= lower[2] && zz < upper[2] ? column[k & 3][zz].material : 0;
            value[k] = occupied(material) ? material : 0;
        }
        const qint64 base[3] = {x, y, z};
        // Keys are shifted by one grid point so that the layer below the box keeps them
        // non-negative.
        const quint64 strideY = quint64(cellsY) + 2, strideZ = quint64(cellsZ) + 2;
        Triangle::Vertex vertex[12];
        quint64 key[12];
        const unsigned mask = tables->edgeMask[index];
        for (int e = 0; e < 12; ++e) {
            if (!(mask & (1u << e)))
                continue;
            const int a = Tables::edges[e][0], b = Tables::edges[e][1];
            qint64 n[3];
            for (int axis = 0; axis < 3; ++axis) {
                // Twice the midpoint's coordinate in cells from the first cell centre.
                const qint64 d =
                    2 * base[axis] + Tables::corners[a][axis] + Tables::corners[b][axis];
                vertex[e].position[axis] = float(d + 1) * 0.5f * size[axis];
                n[axis] = (d + 3) / 2;
            }
            vertex[e].material = value[a] != 0 ? value[a] : value[b];
            key[e] = (quint64(n[0]) * strideY + quint64(n[1])) * strideZ + quint64(n[2]);
        }
        const qint8 *row = tables->triangles[index];
        for (int t = 0; row[t] >= 0; t += 3, ++out, ++first) {
            Triangle &triangle = *out;
            for (int v = 0; v < 3; ++v) {
                triangle.vertices[v] = vertex[row[t + v]];
                keys[first * 3 + quint64(v)] = KeyedVertex{key[row[t + v]], first * 3 + quint64(v)};
            }
            const float *p = triangle.vertices[0].position;
            const float *q = triangle.vertices[1].position;
            const float *r = triangle.vertices[2].position;
            const float u[3] = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
            const float w[3] = {r[0] - p[0], r[1] - p[1], r[2] - p[2]};
            float normal[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                               u[0] * w[1] - u[1] * w[0]};
            const float length =
                std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
            for (int i = 0; i < 3; ++i)
                normal[i] = length > 0.0f ? normal[i] / length : 0.0f;
            for (int v = 0; v < 3; ++v)
                for (int i = 0; i < 3; ++i)
                    triangle.vertices[v].normal[i] = normal[i];
        }
    }
};

/// Sorts by key, stably, with least-significant-digit radix passes of 11 bits over the bits
/// the largest key needs: linear in the number of vertices.
void radixSort(std::vector<KeyedVertex> &entries, quint64 maxKey)
{
    int bits = 0;
    while (bits < 64 && (maxKey >> bits) != 0)
        ++bits;
    std::vector<KeyedVertex> buffer(entries.size());
    const int digitBits = 11;
    std::vector<std::size_t> counts(std::size_t(1) << digitBits);
    for (int shift = 0; shift < bits; shift += digitBits) {
        std::fill(counts.begin(), counts.end(), 0);
        const quint64 digitMask = (quint64(1) << digitBits) - 1;
        for (const KeyedVertex &e : entries)
            ++counts[std::size_t((e.key >> shift) & digitMask)];
        std::size_t sum = 0;
        for (std::size_t &c : counts) {
            const std::size_t n = c;
            c = sum;
            sum += n;
        }
        for (const KeyedVertex &e : entries)
            buffer[counts[std::size_t((e.key >> shift) & digitMask)]++] = e;
        entries.swap(buffer);
    }
}

/// Gives every vertex the normalised sum of the face normals of all vertices that share its
/// key; entries are (key, vertex) sorted by key, so each run of equal keys is one group.
void smoothNormals(std::vector<Triangle> &triangles, const std::vector<KeyedVertex> &entries)
{
    auto normalOf = [&triangles](quint64 vertex) -> float * {
        return triangles[std::size_t(vertex / 3)].vertices[vertex % 3].normal;
    };
    for (std::size_t begin = 0; begin < entries.size();) {
        std::size_t stop = begin + 1;
        while (stop < entries.size() && entries[stop].key == entries[begin].key)
            ++stop;
        double sum[3] = {0.0, 0.0, 0.0};
        for (std::size_t i = begin; i < stop; ++i) {
            const float *n = normalOf(entries[i].vertex);
            for (int a = 0; a < 3; ++a)
                sum[a] += n[a];
        }
        const double length = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
        // Opposite faces that cancel out keep their own normals.
        if (length > 1e-9)
            for (std::size_t i = begin; i < stop; ++i) {
                float *n = normalOf(entries[i].vertex);
                for (int a = 0; a < 3; ++a)
                    n[a] = float(sum[a] / length);
            }
        begin = stop;
    }
}

} // namespace

MarchingCubeSurface::MarchingCubeSurface(TotalVolume *volume)
    : volume(volume), cellsX(volume->getCellsX()), cellsY(volume->getCellsY()),
      cellsZ(volume->getCellsZ()), cellSize{volume->getCellSizeX(), volume->getCellSizeY(),
                                            volume->getCellSizeZ()},
      step(1), cells(nullptr)
{}

bool MarchingCubeSurface::rebuild(const quint32 lower[3], const quint32 upper[3], quint32 material)
{
    QElapsedTimer timer;
    timer.start();
    QMutexLocker locker(&mutex);
    triangles.clear();
    lastError.clear();

    const quint32 counts[3] = {cellsX, cellsY, cellsZ};
    SlabBuild build;
    build.cellsY = cellsY;
    build.cellsZ = cellsZ;
    build.tables = &Tables::instance();
    build.only = material;
    bool empty = false;
    for (int axis = 0; axis < 3; ++axis) {
        build.upper[axis] = std::min(upper[axis], counts[axis]);
        build.lower[axis] = std::min<qint64>(lower[axis], build.upper[axis]);
        build.size[axis] = cellSize[axis];
        empty = empty || build.lower[axis] >= build.upper[axis];
    }
    if (empty) {
        std::vector<Triangle>().swap(triangles);
        return true;
    }

    // One slab of cube bases per pool thread, the last taking the remainder; a box narrower
    // than the pool is marched on the calling thread.
    const qint64 first = build.lower[0] - 1, end = build.upper[0];
    const qint64 threads = std::max(1, QThreadPool::globalInstance()->maxThreadCount());
    const qint64 width = (end - first) / threads;
    const int slabCount = width == 0 ? 1 : int(threads);
    auto slabBegin = [&](int i) { return width == 0 ? first : first + i * width; };
    auto slabEnd = [&](int i) {
        return (width == 0 || i + 1 == slabCount) ? end : slabBegin(i) + width;
    };
    std::vector<quint64> slabCounts(static_cast<std::size_t>(slabCount));
    std::vector<KeyedVertex> keys;
    qint64 scanned = 0;
    bool ok = true;

    cells = volume->lockCells();
    build.cells = cells;
    // The only allocations in the tasks are their empty columns; a task that cannot have its
    // memory says so instead of throwing across the pool.
    std::vector<char> outOfMemory(slabCounts.size(), 0);
    Util::TaskBatch::run(slabCount, [&](int i) {
        try {
            slabCounts[std::size_t(i)] = build.run(slabBegin(i), slabEnd(i), nullptr, nullptr, 0);
        } catch (const std::bad_alloc &) {
            outOfMemory[std::size_t(i)] = 1;
        }
    });
    std::vector<quint64> offsets(slabCounts.size());
    quint64 total = 0;
    for (std::size_t i = 0; i < slabCounts.size(); ++i) {
        offsets[i] = total;
        total += slabCounts[i];
    }
    // Linux overcommits: ask the system first rather than touch pages it cannot give. The
    // smoothing needs two (key, vertex) pairs per vertex beside the triangles.
    const double bytes = double(total) * (sizeof(Triangle) + 6 * sizeof(KeyedVertex));
    const quint64 available = Util::SystemMemory::availableBytes();
    const bool fits = available == 0 || bytes <= double(available) * usableMemoryFraction;
    try {
        ok = fits && std::find(outOfMemory.begin(), outOfMemory.end(), 1) == outOfMemory.end();
        if (ok) {
            // The list keeps its memory between rebuilds unless it shrinks a lot.
            if (total < triangles.capacity() / 2)
                std::vector<Triangle>().swap(triangles);
            triangles.resize(std::size_t(total));
            keys.resize(std::size_t(total) * 3);
        }
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    if (ok) {
        Triangle *out = triangles.data();
        KeyedVertex *keyOut = keys.data();
        Util::TaskBatch::run(slabCount, [&](int i) {
            try {
                build.run(slabBegin(i), slabEnd(i), out + offsets[std::size_t(i)], keyOut,
                          offsets[std::size_t(i)]);
            } catch (const std::bad_alloc &) {
                outOfMemory[std::size_t(i)] = 1;
            }
        });
        ok = std::find(outOfMemory.begin(), outOfMemory.end(), 1) == outOfMemory.end();
    }
    volume->releaseCells();
    cells = nullptr;
    scanned = timer.elapsed();

    try {
        if (ok) {
            const quint64 maxKey =
                (quint64(cellsX) + 2) * (quint64(cellsY) + 2) * (quint64(cellsZ) + 2);
            radixSort(keys, maxKey);
            smoothNormals(triangles, keys);
        }
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    if (!ok) {
        std::vector<Triangle>().swap(triangles);
        lastError = fits ? QStringLiteral("Cannot show the marching-cubes surface: out of memory.")
                         : QStringLiteral("Cannot show the marching-cubes surface: its %1 "
                                          "triangles need %2 of memory and only %3 are "
                                          "available.")
                               .arg(total)
                               .arg(Util::SystemMemory::formatBytes(bytes),
                                    Util::SystemMemory::formatBytes(double(available)));
        qDebug() << lastError;
        return false;
    }
    qDebug() << "Built" << triangles.size() << "marching-cubes triangles in" << slabCount
             << "slabs (cells read in" << scanned << "ms); Elapsed time " << timer.elapsed()
             << "ms";
    return true;
}

void MarchingCubeSurface::draw(bool)
{
    QMutexLocker locker(&mutex);
    const bool selected = volume->isSelected();
    colorMap.clear();
    for (const Materials::Material &material :
         Materials::MaterialFactory::instance()->getMaterials()) {
        Color color;
        material.getColor(color.data());
        if (selected)
            highlight(color.data());
        colorMap[material.getId()] = color;
    }
    Color unknown;
    std::copy(TotalVolumePainter::unknownMaterialColor,
              TotalVolumePainter::unknownMaterialColor + 4, unknown.begin());
    if (selected)
        highlight(unknown.data());

    quint32 lastMaterial = 0;
    const float *color = unknown.data();
    glBegin(GL_TRIANGLES);
    for (const Triangle &triangle : triangles)
        for (const Triangle::Vertex &vertex : triangle.vertices) {
            glNormal3fv(vertex.normal);
            if (vertex.material != lastMaterial || color == unknown.data()) {
                const auto it = colorMap.find(vertex.material);
                color = it != colorMap.end() ? it->second.data() : unknown.data();
                lastMaterial = vertex.material;
            }
            glColor3fv(color);
            glVertex3fv(vertex.position);
        }
    glEnd();
}

void MarchingCubeSurface::clear()
{
    QMutexLocker locker(&mutex);
    std::vector<Triangle>().swap(triangles);
    lastError.clear();
}

std::vector<Triangle> MarchingCubeSurface::getTriangles() const
{
    QMutexLocker locker(&mutex);
    return triangles;
}

std::vector<Triangle> MarchingCubeSurface::takeTriangles()
{
    QMutexLocker locker(&mutex);
    std::vector<Triangle> taken;
    taken.swap(triangles);
    return taken;
}

std::size_t MarchingCubeSurface::getTriangleCount() const
{
    QMutexLocker locker(&mutex);
    return triangles.size();
}

std::size_t MarchingCubeSurface::getMemoryBytes() const
{
    QMutexLocker locker(&mutex);
    return triangles.capacity() * sizeof(Triangle);
}

QString MarchingCubeSurface::getLastError() const
{
    QMutexLocker locker(&mutex);
    return lastError;
}

} // namespace Automaton
} // namespace Model
