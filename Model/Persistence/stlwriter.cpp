#include "Model/Persistence/stlwriter.h"

#include "Util/safesave.h"

#include <QSaveFile>
#include <QtAlgorithms>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <set>

namespace Model {
namespace Persistence {

namespace {

using Automaton::TotalVolume;
using Automaton::Voxel;

const int triangleBytes = 50;
const int trianglesPerWrite = 4096;

void putFloat(char *&out, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof(bits));
    qToLittleEndian(bits, out);
    out += 4;
}

/// Walks every exposed face of the given material and hands it to addFace(axis, positive, at,
/// index).
template <class AddFace>
void forEachFace(const TotalVolume &volume, const Voxel *cells, quint32 material, AddFace addFace)
{
    const quint32 n[3] = {volume.getCellsX(), volume.getCellsY(), volume.getCellsZ()};
    const quint64 stride[3] = {quint64(n[1]) * n[2], n[2], 1};
    for (quint32 x = 0; x < n[0]; ++x)
        for (quint32 y = 0; y < n[1]; ++y)
            for (quint32 z = 0; z < n[2]; ++z) {
                const quint64 index = volume.getCellIndex(x, y, z);
                if (cells[index].material != material)
                    continue;
                const quint32 at[3] = {x, y, z};
                for (int axis = 0; axis < 3; ++axis) {
                    if (at[axis] == 0 || cells[index - stride[axis]].material != material)
                        addFace(axis, false, at, index);
                    if (at[axis] + 1 == n[axis] || cells[index + stride[axis]].material != material)
                        addFace(axis, true, at, index);
                }
            }
}

/// The corners of a cell's face, counter-clockwise seen from outside: b and c follow the axis
/// cyclically, so b x c points along it.
void faceCorners(int axis, bool positive, const quint32 *at, quint32 corner[4][3])
{
    const int b = (axis + 1) % 3, c = (axis + 2) % 3;
    for (int k = 0; k < 4; ++k) {
        corner[k][0] = at[0];
        corner[k][1] = at[1];
        corner[k][2] = at[2];
        corner[k][axis] += positive ? 1 : 0;
    }
    corner[1][b] += 1;
    corner[2][b] += 1;
    corner[2][c] += 1;
    corner[3][c] += 1;
    if (!positive)
        std::swap(corner[1], corner[3]);
}

/// Which edges of a face (bit k: the edge from corner k to corner k + 1) carry a midpoint.
/// Where two cells of the material touch only along an edge, four faces meet there. The cell
/// with the lower index takes a midpoint on its copy of the edge, so each of the two copies
/// belongs to two triangles only, and the surface keeps its exact shape and volume.
unsigned splitEdges(const TotalVolume &volume, const Voxel *cells, quint32 material, int axis,
                    bool positive, const quint32 *at, quint64 index, const quint32 corner[4][3])
{
    const quint32 n[3] = {volume.getCellsX(), volume.getCellsY(), volume.getCellsZ()};
    const qint64 stride[3] = {qint64(n[1]) * n[2], qint64(n[2]), 1};
    // The cell across the face is not of the material; the edge is pinched when the cell
    // diagonally across the edge is, and the cell beside this one (towards the edge) is not.
    const bool acrossInside = positive ? at[axis] + 1 < n[axis] : at[axis] > 0;
    unsigned split = 0;
    for (int k = 0; k < 4; ++k) {
        const quint32 *from = corner[k], *to = corner[(k + 1) % 4];
        int along = 0;
        while (from[along] == to[along])
            ++along;
        const int side = 3 - axis - along; // the in-plane axis across the edge
        const bool up = from[side] > at[side];
        if (!acrossInside || (up ? at[side] + 1 >= n[side] : at[side] == 0))
            continue;
        const qint64 step = up ? stride[side] : -stride[side];
        const quint64 beside = quint64(qint64(index) + step);
        const quint64 diagonal =
            quint64(qint64(beside) + (positive ? stride[axis] : -stride[axis]));
        if (cells[beside].material != material && cells[diagonal].material == material &&
            index < diagonal)
            split |= 1u << k;
    }
    return split;
}

bool checkScale(double scale, QString *error)
{
    // A negative scale would turn every surface inside out.
    if (scale > 0.0 && std::isfinite(scale))
        return true;
    if (error)
        *error = QStringLiteral("the scale must be a positive number");
    return false;
}

/// A binary STL file written through a buffer; it appears only when finished.
class StlStream
{
public:
    explicit StlStream(const QString &fileName)
        : file(fileName), buffer(trianglesPerWrite * triangleBytes, Qt::Uninitialized),
          out(buffer.data())
    {}

    bool begin(quint64 triangles, const char *title, QString *error)
    {
        if (triangles > 0xffffffffULL) {
            if (error)
                *error = QStringLiteral("the surface has more triangles than an STL file can hold");
            return false;
        }
        if (!file.open(QIODevice::WriteOnly)) {
            if (error)
                *error = file.errorString();
            return false;
        }
        // The header must not begin with "solid": readers would take the file for text.
        char header[84] = {};
        std::strncpy(header, title, 79);
        qToLittleEndian(quint32(triangles), header + 80);
        file.write(header, sizeof(header));
        return true;
    }

    void add(const float *normal, const float *a, const float *b, const float *c)
    {
        if (out == buffer.data() + buffer.size())
            flush();
        for (int i = 0; i < 3; ++i)
            putFloat(out, normal[i]);
        for (const float *vertex : {a, b, c})
            for (int i = 0; i < 3; ++i)
                putFloat(out, vertex[i]);
        *out++ = 0;
        *out++ = 0;
    }

    bool finish(QString *error)
    {
        flush();
        // A write that failed is remembered by the file: the commit refuses it.
        return Util::SafeSave::commit(file, true, error);
    }

private:
    void flush()
    {
        file.write(buffer.constData(), out - buffer.constData());
        out = buffer.data();
    }

    QSaveFile file;
    QByteArray buffer;
    char *out;
};

} // namespace

QList<quint32> StlWriter::materialsIn(TotalVolume &volume)
{
    std::set<quint32> found;
    const Voxel *cells = volume.lockCells();
    quint32 last = 0;
    for (quint64 i = 0, count = volume.getCellCount(); i < count; ++i)
        if (cells[i].material != last) {
            last = cells[i].material;
            found.insert(last);
        }
    volume.releaseCells();
    found.erase(0);
    return QList<quint32>(found.begin(), found.end());
}

bool StlWriter::write(TotalVolume &volume, const QString &fileName, const QList<quint32> &materials,
                      double scale, QString *error)
{
    if (!checkScale(scale, error))
        return false;
    StlStream stl(fileName);
    const Voxel *cells = volume.lockCells();
    quint64 triangles = 0;
    for (quint32 material : materials)
        forEachFace(volume, cells, material,
                    [&](int axis, bool positive, const quint32 *at, quint64 index) {
                        quint32 corner[4][3];
                        faceCorners(axis, positive, at, corner);
                        const unsigned split =
                            splitEdges(volume, cells, material, axis, positive, at, index, corner);
                        triangles += split ? 4 + quint64(qPopulationCount(split)) : 2;
                    });
    if (!stl.begin(triangles, "Celvane cube faces, binary STL", error)) {
        volume.releaseCells();
        return false;
    }

    const double size[3] = {volume.getCellSizeX(), volume.getCellSizeY(), volume.getCellSizeZ()};
    const Util::Vector3D position = volume.getPosition();
    const double origin[3] = {position.x, position.y, position.z};
    auto place = [&](const double *grid, float *vertex) {
        for (int i = 0; i < 3; ++i)
            vertex[i] = float((origin[i] + grid[i] * size[i]) * scale);
    };
    quint32 material = 0;
    auto addFace = [&](int axis, bool positive, const quint32 *at, quint64 index) {
        quint32 corner[4][3];
        faceCorners(axis, positive, at, corner);
        float vertex[4][3];
        for (int k = 0; k < 4; ++k) {
            const double grid[3] = {double(corner[k][0]), double(corner[k][1]),
                                    double(corner[k][2])};
            place(grid, vertex[k]);
        }
        float normal[3] = {0.0f, 0.0f, 0.0f};
        normal[axis] = positive ? 1.0f : -1.0f;
        const unsigned split =
            splitEdges(volume, cells, material, axis, positive, at, index, corner);
        if (!split) {
            stl.add(normal, vertex[0], vertex[1], vertex[2]);
            stl.add(normal, vertex[0], vertex[2], vertex[3]);
            return;
        }
        // A fan round the face's centre, through the corners and the midpoints in order.
        double centreGrid[3] = {0.0, 0.0, 0.0};
        for (int k = 0; k < 4; ++k)
            for (int i = 0; i < 3; ++i)
                centreGrid[i] += corner[k][i] / 4.0;
        float centre[3];
        place(centreGrid, centre);
        for (int k = 0; k < 4; ++k) {
            const float *next = vertex[(k + 1) % 4];
            if (split & (1u << k)) {
                double middleGrid[3];
                for (int i = 0; i < 3; ++i)
                    middleGrid[i] = (double(corner[k][i]) + corner[(k + 1) % 4][i]) / 2.0;
                float middle[3];
                place(middleGrid, middle);
                stl.add(normal, centre, vertex[k], middle);
                stl.add(normal, centre, middle, next);
            } else {
                stl.add(normal, centre, vertex[k], next);
            }
        }
    };
    for (quint32 m : materials) {
        material = m;
        forEachFace(volume, cells, material, addFace);
    }
    volume.releaseCells();
    return stl.finish(error);
}

bool StlWriter::writeTriangles(const std::vector<Automaton::Triangle> &triangles,
                               const Util::Vector3D &position, double scale,
                               const QString &fileName, QString *error)
{
    if (!checkScale(scale, error))
        return false;
    StlStream stl(fileName);
    if (!stl.begin(triangles.size(), "Celvane marching cubes, binary STL", error))
        return false;
    const double origin[3] = {position.x, position.y, position.z};
    for (const Automaton::Triangle &triangle : triangles) {
        float vertex[3][3];
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i < 3; ++i)
                vertex[k][i] = float((origin[i] + triangle.vertices[k].position[i]) * scale);
        // The facet's normal follows its winding; the vertex normals are smoothed for shading.
        const float e1[3] = {vertex[1][0] - vertex[0][0], vertex[1][1] - vertex[0][1],
                             vertex[1][2] - vertex[0][2]};
        const float e2[3] = {vertex[2][0] - vertex[0][0], vertex[2][1] - vertex[0][1],
                             vertex[2][2] - vertex[0][2]};
        float normal[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                           e1[0] * e2[1] - e1[1] * e2[0]};
        const float length =
            std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
        for (float &value : normal)
            value = length > 0.0f ? value / length : 0.0f;
        stl.add(normal, vertex[0], vertex[1], vertex[2]);
    }
    return stl.finish(error);
}

} // namespace Persistence
} // namespace Model
