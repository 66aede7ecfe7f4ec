#include "UI/crosssectionimage.h"

#include "Model/Materials/materialfactory.h"
#include "Util/safesave.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSaveFile>

#include <map>

namespace Ui {

namespace {

const char axisNames[] = "xyz";

QColor colorOf(quint32 material)
{
    if (material == 0)
        return Qt::white;
    float rgba[4];
    Model::Materials::MaterialFactory::instance()->getMaterial(material).getColor(rgba);
    return QColor::fromRgbF(qBound(0.0f, rgba[0], 1.0f), qBound(0.0f, rgba[1], 1.0f),
                            qBound(0.0f, rgba[2], 1.0f));
}

} // namespace

bool CrossSectionImage::parse(const QString &text, int *axis, quint32 *index, QString *reason)
{
    const int colon = text.indexOf(QLatin1Char(':'));
    const QString name = text.left(colon).trimmed().toLower();
    bool ok = false;
    const uint value = colon > 0 ? text.mid(colon + 1).trimmed().toUInt(&ok) : 0;
    const int found = name.size() == 1 ? QByteArray(axisNames).indexOf(name.at(0).toLatin1()) : -1;
    if (!ok || found < 0) {
        *reason = QStringLiteral("--cross-section needs AXIS:INDEX with AXIS x, y or z and INDEX a "
                                 "cell layer counted from 0, not \"%1\"")
                      .arg(text);
        return false;
    }
    *axis = found;
    *index = value;
    return true;
}

QImage CrossSectionImage::render(Model::Automaton::TotalVolume &volume, int axis, quint32 index,
                                 int cellPixels, QString *reason)
{
    const quint32 n[3] = {volume.getCellsX(), volume.getCellsY(), volume.getCellsZ()};
    if (axis < 0 || axis > 2 || index >= n[axis]) {
        *reason = QStringLiteral("the volume has no layer %1 across %2 (it has %3)")
                      .arg(index)
                      .arg(QLatin1Char(axis >= 0 && axis <= 2 ? axisNames[axis] : '?'))
                      .arg(axis >= 0 && axis <= 2 ? n[axis] : 0);
        return QImage();
    }
    // The plane's own axes: across z the picture shows x and y, otherwise the other horizontal
    // axis and z, so the layers stand as they were grown.
    const int u = axis == 0 ? 1 : 0;
    const int v = axis == 2 ? 1 : 2;
    const quint64 width = quint64(n[u]) * cellPixels, height = quint64(n[v]) * cellPixels;
    if (cellPixels < 1 || width > 32768 || height > 32768) {
        *reason = QStringLiteral("the picture would be too large (%1 x %2 pixels)")
                      .arg(width)
                      .arg(height);
        return QImage();
    }

    std::vector<quint32> plane(size_t(n[u]) * n[v]);
    std::map<quint32, QColor> colors;
    const Model::Automaton::Voxel *cells = volume.lockCells();
    quint32 at[3];
    at[axis] = index;
    for (at[v] = 0; at[v] < n[v]; ++at[v])
        for (at[u] = 0; at[u] < n[u]; ++at[u]) {
            const quint32 material = cells[volume.getCellIndex(at[0], at[1], at[2])].material;
            plane[size_t(at[v]) * n[u] + at[u]] = material;
            colors.emplace(material, QColor());
        }
    volume.releaseCells();
    for (auto &entry : colors)
        entry.second = colorOf(entry.first);

    QFont font;
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const int row = 18, swatch = 12, margin = 8;
    int legendWidth = 0;
    QStringList names;
    for (const auto &entry : colors) {
        const QString name =
            entry.first == 0
                ? QStringLiteral("empty")
                : Model::Materials::MaterialFactory::instance()->getMaterial(entry.first).getName();
        names.append(name);
        legendWidth = qMax(legendWidth, swatch + 6 + metrics.horizontalAdvance(name));
    }
    const int legendHeight = int(colors.size()) * row + margin;
    QImage image(int(width) + 2 * margin + legendWidth, qMax(int(height), legendHeight),
                 QImage::Format_RGB32);
    if (image.isNull()) {
        *reason = QStringLiteral("not enough memory for the picture");
        return QImage();
    }
    image.fill(Qt::white);
    for (quint32 j = 0; j < n[v]; ++j) {
        // The picture's rows run downwards, the plane's second axis upwards.
        const int top = int((n[v] - 1 - j) * quint64(cellPixels));
        for (quint32 i = 0; i < n[u]; ++i) {
            const QRgb rgb = colors[plane[size_t(j) * n[u] + i]].rgb();
            for (int y = top; y < top + cellPixels; ++y) {
                QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
                for (int x = int(i) * cellPixels; x < int(i + 1) * cellPixels; ++x)
                    line[x] = rgb;
            }
        }
    }
    QPainter painter(&image);
    painter.setFont(font);
    int y = margin / 2;
    int k = 0;
    for (const auto &entry : colors) {
        const int left = int(width) + margin;
        painter.fillRect(left, y + 3, swatch, swatch, entry.second);
        painter.setPen(Qt::black);
        painter.drawRect(left, y + 3, swatch - 1, swatch - 1);
        painter.drawText(left + swatch + 6, y + 3 + metrics.ascent() - 1, names.at(k++));
        y += row;
    }
    return image;
}

bool CrossSectionImage::save(Model::Automaton::TotalVolume &volume, int axis, quint32 index,
                             int cellPixels, const QString &fileName, QString *reason)
{
    const QImage image = render(volume, axis, index, cellPixels, reason);
    if (image.isNull())
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = file.errorString();
        return false;
    }
    const bool written = image.save(&file, "PNG");
    return Util::SafeSave::commit(file, written, reason);
}

} // namespace Ui
