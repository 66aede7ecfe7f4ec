#include "Model/Persistence/stlwriter.h"

#include <QSaveFile>
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

/// Walks every exposed face of the given material and hands it to addFace(axis, positive, x, y, z).
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
                        addFace(axis, false, at);
                    if (at[axis] + 1 == n[axis] || cells[index + stride[axis]].material != material)
                        addFace(axis, true, at);
                }
            }
}

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
    // A negative scale would turn every surface inside out.
    if (!(scale > 0.0) || !std::isfinite(scale)) {
        if (error)
            *error = QStringLiteral("the scale must be a positive number");
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const Voxel *cells = volume.lockCells();
    quint64 faces = 0;
    for (quint32 material : materials)
        forEachFace(volume, cells, material, [&faces](int, bool, const quint32 *) { ++faces; });
    if (faces * 2 > 0xffffffffULL) {
        volume.releaseCells();
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("the surface has more triangles than an STL file can hold");
        return false;
    }

    // The header must not begin with "solid": readers would take the file for text.
    char header[84] = {};
    const char title[] = "Celvane cube faces, binary STL";
    std::memcpy(header, title, sizeof(title) - 1);
    qToLittleEndian(quint32(faces * 2), header + 80);
    file.write(header, sizeof(header));

    const double size[3] = {volume.getCellSizeX(), volume.getCellSizeY(), volume.getCellSizeZ()};
    const Util::Vector3D position = volume.getPosition();
    const double origin[3] = {position.x, position.y, position.z};
    QByteArray buffer(trianglesPerWrite * triangleBytes, Qt::Uninitialized);
    char *out = buffer.data();
    auto flush = [&]() {
        file.write(buffer.constData(), out - buffer.constData());
        out = buffer.data();
    };
    auto addFace = [&](int axis, bool positive, const quint32 *at) {
        // The face's corners, counter-clockwise seen from outside: b and c follow the axis
        // cyclically, so b x c points along it.
        const int b = (axis + 1) % 3, c = (axis + 2) % 3;
        quint32 corner[4][3];
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
        float vertex[4][3];
        for (int k = 0; k < 4; ++k)
            for (int i = 0; i < 3; ++i)
                vertex[k][i] = float((origin[i] + corner[k][i] * size[i]) * scale);
        float normal[3] = {0.0f, 0.0f, 0.0f};
        normal[axis] = positive ? 1.0f : -1.0f;
        static const int triangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
        for (const auto &triangle : triangles) {
            if (out == buffer.data() + buffer.size())
                flush();
            for (float value : normal)
                putFloat(out, value);
            for (int k : triangle)
                for (int i = 0; i < 3; ++i)
                    putFloat(out, vertex[k][i]);
            *out++ = 0;
            *out++ = 0;
        }
    };
    for (quint32 material : materials)
        forEachFace(volume, cells, material, addFace);
    volume.releaseCells();
    flush();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace Persistence
} // namespace Model
