#include "Model/Persistence/vtiwriter.h"

#include "Util/safesave.h"

#include <QSaveFile>
#include <QtEndian>

#include <new>
#include <vector>

namespace Model {
namespace Persistence {

namespace {

QByteArray number(double value)
{
    return QByteArray::number(value, 'g', 9);
}

} // namespace

bool VtiWriter::write(Automaton::TotalVolume &volume, const QString &fileName, QString *error)
{
    const quint32 nx = volume.getCellsX(), ny = volume.getCellsY(), nz = volume.getCellsZ();
    const Util::Vector3D origin = volume.getPosition();
    const QByteArray extent = "0 " + QByteArray::number(nx) + " 0 " + QByteArray::number(ny) +
                              " 0 " + QByteArray::number(nz);
    const QByteArray spacing = number(volume.getCellSizeX()) + ' ' + number(volume.getCellSizeY()) +
                               ' ' + number(volume.getCellSizeZ());
    QByteArray header;
    header += "<?xml version=\"1.0\"?>\n"
              "<VTKFile type=\"ImageData\" version=\"1.0\" byte_order=\"LittleEndian\" "
              "header_type=\"UInt64\">\n";
    header += "  <ImageData WholeExtent=\"" + extent + "\" Origin=\"" + number(origin.x) + ' ' +
              number(origin.y) + ' ' + number(origin.z) + "\" Spacing=\"" + spacing + "\">\n";
    header += "    <Piece Extent=\"" + extent + "\">\n";
    header += "      <PointData>\n      </PointData>\n";
    header += "      <CellData Scalars=\"material\">\n";
    header += "        <DataArray type=\"UInt32\" Name=\"material\" format=\"appended\" "
              "offset=\"0\"/>\n";
    header += "      </CellData>\n    </Piece>\n  </ImageData>\n";
    header += "  <AppendedData encoding=\"raw\">\n   _";

    // One z layer at a time: VTK runs x fastest, the volume runs z fastest.
    std::vector<quint32> layer;
    try {
        layer.resize(size_t(nx) * ny);
    } catch (const std::bad_alloc &) {
        if (error)
            *error = QStringLiteral("not enough memory to export the cell volume");
        return false;
    }

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const quint64 bytes = quint64(volume.getCellCount()) * sizeof(quint32);
    const quint64 littleBytes = qToLittleEndian(bytes);
    bool written =
        file.write(header) >= 0 &&
        file.write(reinterpret_cast<const char *>(&littleBytes), sizeof(littleBytes)) >= 0;
    const Automaton::Voxel *cells = volume.lockCells();
    const quint64 strideX = quint64(ny) * nz;
    for (quint32 z = 0; z < nz && written; ++z) {
        quint32 *out = layer.data();
        for (quint32 y = 0; y < ny; ++y) {
            const Automaton::Voxel *cell = cells + quint64(y) * nz + z;
            for (quint32 x = 0; x < nx; ++x, cell += strideX)
                *out++ = qToLittleEndian(cell->material);
        }
        written = file.write(reinterpret_cast<const char *>(layer.data()),
                             qint64(layer.size() * sizeof(quint32))) >= 0;
    }
    volume.releaseCells();
    written = written && file.write("\n  </AppendedData>\n</VTKFile>\n") >= 0;
    return Util::SafeSave::commit(file, written, error);
}

} // namespace Persistence
} // namespace Model
