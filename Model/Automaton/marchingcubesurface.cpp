#include "Model/Automaton/marchingcubesurface.h"

#include "Model/Automaton/marchingcubetables.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Automaton/totalvolumepainter.h"
#include "Model/Materials/materialfactory.h"
#include "Model/palette.h"
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

/// The triangles of one x slab of cubes, with the smoothing key of each vertex.
struct SlabOutput
{
    std::vector<Triangle> triangles;
    std::vector<quint64> keys;
    bool outOfMemory = false;
};

/// Marches the cubes whose base cell has x in [xBegin, xEnd). Cube (x, y, z) has its corners
/// at the centres of cells x..x+1, y..y+1, z..z+1; bases start one cell below the box so that
/// the cubes straddling its lower faces close the surface there.
struct SlabBuild
{
    const Voxel *cells;
    quint32 cellsY;
    quint32 cellsZ;
    qint64 lower[3];
    qint64 upper[3];
    float size[3];
    const Tables *tables;

    void run(qint64 xBegin, qint64 xEnd, SlabOutput &out) const
    {
        // Columns outside the box read this one, so the scan needs no per-cell bounds test.
        const std::vector<Voxel> emptyColumn(cellsZ, Voxel(0));
        const qint64 z0 = lower[2], z1 = upper[2];
        for (qint64 x = xBegin; x < xEnd; ++x)
            for (qint64 y = lower[1] - 1; y < upper[1]; ++y) {
                const Voxel *column[4];
                bool any = false;
                for (int k = 0; k < 4; ++k) {
                    const qint64 cx = x + Tables::corners[k][0];
                    const qint64 cy = y + Tables::corners[k][1];
                    const bool inside =
                        cx >= lower[0] && cx < upper[0] && cy >= lower[1] && cy < upper[1];
                    column[k] = inside ? cells + (quint64(cx) * cellsY + quint64(cy)) * cellsZ
                                       : emptyColumn.data();
                    any = any || inside;
                }
                if (!any)
                    continue;
                unsigned low = 0; // the layer below the box is empty
                for (qint64 z = z0 - 1; z < z1; ++z) {
                    unsigned high = 0;
                    if (z + 1 < z1) {
                        const qint64 zz = z + 1;
                        high = unsigned(column[0][zz].material != 0) |
                               unsigned(column[1][zz].material != 0) << 1 |
                               unsigned(column[2][zz].material != 0) << 2 |
                               unsigned(column[3][zz].material != 0) << 3;
                    }
                    const unsigned index = low | high << 4;
                    low = high;
                    if (tables->edgeMask[index] != 0)
                        march(x, y, z, index, column, out);
                }
            }
    }

    void march(qint64 x, qint64 y, qint64 z, unsigned index, const Voxel *const column[4],
               SlabOutput &out) const
    {
        quint32 value[8];
        for (int k = 0; k < 8; ++k) {
            const qint64 zz = z + (k >> 2);
            value[k] = zz >= lower[2] && zz < upper[2] ? column[k & 3][zz].material : 0;
        }
        const qint64 base[3] = {x, y, z};
        // Smoothing keys: the nearest grid point of each vertex, shifted by one so that the
        // layer below the box keeps them non-negative.
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
        for (int t = 0; row[t] >= 0; t += 3) {
            Triangle triangle;
            for (int v = 0; v < 3; ++v) {
                triangle.vertices[v] = vertex[row[t + v]];
                out.keys.push_back(key[row[t + v]]);
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
            out.triangles.push_back(triangle);
        }
    }
};

} // namespace

MarchingCubeSurface::MarchingCubeSurface(TotalVolume *volume)
    : volume(volume), cellsX(volume->getCellsX()), cellsY(volume->getCellsY()),
      cellsZ(volume->getCellsZ()), cellSize{volume->getCellSizeX(), volume->getCellSizeY(),
                                            volume->getCellSizeZ()},
      step(1), cells(nullptr)
{}

bool MarchingCubeSurface::rebuild(const quint32 lower[3], const quint32 upper[3])
{
    QElapsedTimer timer;
    timer.start();
    QMutexLocker locker(&mutex);
    std::vector<Triangle>().swap(triangles);
    lastError.clear();

    const quint32 counts[3] = {cellsX, cellsY, cellsZ};
    SlabBuild build;
    build.cellsY = cellsY;
    build.cellsZ = cellsZ;
    build.tables = &Tables::instance();
    bool empty = false;
    for (int axis = 0; axis < 3; ++axis) {
        build.upper[axis] = std::min(upper[axis], counts[axis]);
        build.lower[axis] = std::min<qint64>(lower[axis], build.upper[axis]);
        build.size[axis] = cellSize[axis];
        empty = empty || build.lower[axis] >= build.upper[axis];
    }
    if (empty)
        return true;

    // One slab of cube bases per pool thread, the last taking the remainder; a box narrower
    // than the pool is marched on the calling thread.
    const qint64 first = build.lower[0] - 1, end = build.upper[0];
    const qint64 threads = std::max(1, QThreadPool::globalInstance()->maxThreadCount());
    const qint64 width = (end - first) / threads;
    const int slabCount = width == 0 ? 1 : int(threads);
    std::vector<SlabOutput> outputs(static_cast<std::size_t>(slabCount));

    cells = volume->lockCells();
    build.cells = cells;
    Util::TaskBatch::run(slabCount, [&](int i) {
        const qint64 begin = width == 0 ? first : first + i * width;
        const qint64 stop = (width == 0 || i + 1 == slabCount) ? end : begin + width;
        try {
            build.run(begin, stop, outputs[std::size_t(i)]);
        } catch (const std::bad_alloc &) {
            outputs[std::size_t(i)] = SlabOutput();
            outputs[std::size_t(i)].outOfMemory = true;
        }
    });
    volume->releaseCells();
    cells = nullptr;

    bool ok = true;
    std::size_t total = 0;
    for (const SlabOutput &out : outputs) {
        ok = ok && !out.outOfMemory;
        total += out.triangles.size();
    }
    std::vector<quint64> keys;
    try {
        if (ok) {
            triangles.reserve(total);
            keys.reserve(total * 3);
            for (SlabOutput &out : outputs) {
                triangles.insert(triangles.end(), out.triangles.begin(), out.triangles.end());
                keys.insert(keys.end(), out.keys.begin(), out.keys.end());
                std::vector<Triangle>().swap(out.triangles);
                std::vector<quint64>().swap(out.keys);
            }
            smoothNormals(keys);
        }
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    if (!ok) {
        std::vector<Triangle>().swap(triangles);
        lastError = QStringLiteral("Cannot show the marching-cubes surface: out of memory.");
        qDebug() << lastError;
        return false;
    }
    qDebug() << "Built" << triangles.size() << "marching-cubes triangles in" << slabCount
             << "slabs; Elapsed time " << timer.elapsed() << "ms";
    return true;
}

void MarchingCubeSurface::smoothNormals(std::vector<quint64> &keys)
{
    // Vertices grouped by key through a sort of (key, vertex) pairs: no tree of every vertex.
    struct Entry
    {
        quint64 key;
        quint64 vertex;
    };
    std::vector<Entry> entries(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        entries[i] = Entry{keys[i], i};
    std::vector<quint64>().swap(keys);
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.key < b.key || (a.key == b.key && a.vertex < b.vertex);
    });
    auto normalOf = [this](quint64 vertex) -> float * {
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
