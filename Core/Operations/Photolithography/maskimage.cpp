#include "Core/Operations/Photolithography/maskimage.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <algorithm>

namespace Core {
namespace Operations {

namespace {

// Rows converted to 32-bit colour at a time, so a large mask is never held twice in full.
const int bandRows = 256;

quint32 le32(const QByteArray &b, int at)
{
    return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8 |
           quint32(uchar(b[at + 2])) << 16 | quint32(uchar(b[at + 3])) << 24;
}

quint32 le16(const QByteArray &b, int at)
{
    return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8;
}

/// False when an uncompressed BMP holds fewer bytes than its rows need: Qt's reader then
/// returns the image with the missing rows never written.
bool bmpComplete(QIODevice &device)
{
    const QByteArray head = device.peek(34);
    if (head.size() < 26 || !head.startsWith("BM"))
        return true; // not a BMP the check understands: the reader decides
    const quint32 dataOffset = le32(head, 10);
    const quint32 headerSize = le32(head, 14);
    qint64 width, height;
    quint32 bitsPerPixel, compression;
    if (headerSize == 12) { // the old OS/2 header
        width = le16(head, 18);
        height = le16(head, 20);
        bitsPerPixel = le16(head, 24);
        compression = 0;
    } else {
        if (head.size() < 34)
            return false;
        width = qint32(le32(head, 18));
        height = qAbs(qint64(qint32(le32(head, 22)))); // negative: rows from the top
        bitsPerPixel = le16(head, 28);
        compression = le32(head, 30);
    }
    if (compression != 0 && compression != 3 && compression != 6)
        return true; // run-length coded: the reader checks its own input
    if (width > qint64(MaskImage::maxSide) || height > qint64(MaskImage::maxSide))
        return true; // refused for its size anyway
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return device.size() >= qint64(dataOffset) + rowBytes * height;
}

} // namespace

quint64 MaskImage::pixelLimit(quint64 footprint)
{
    const quint64 floor = quint64(4096) * 4096;
    const quint64 ceiling = quint64(maxSide) * maxSide;
    return std::min(ceiling, std::max(floor, 4 * footprint));
}

MaskImage::Result MaskImage::load(const QString &fileName, quint64 maxPixels,
                                  std::vector<bool> &bits, quint32 &width, quint32 &height,
                                  QString *reason)
{
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file.errorString();
        return NotFound;
    }
    return load(file, maxPixels, bits, width, height, reason);
}

MaskImage::Result MaskImage::load(QIODevice &device, quint64 maxPixels, std::vector<bool> &bits,
                                  quint32 &width, quint32 &height, QString *reason)
{
    const bool complete = bmpComplete(device); // at the start of the file
    QImageReader reader(&device);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid()) {
        if (reason)
            *reason = QStringLiteral("it is not an image this program reads");
        return NotFound;
    }
    const quint64 pixels = quint64(size.width()) * quint64(size.height());
    if (quint32(size.width()) > maxSide || quint32(size.height()) > maxSide || pixels > maxPixels) {
        if (reason)
            *reason = QStringLiteral("it is %1 x %2 pixels; a mask may have at most %3 pixels "
                                     "here, and at most %4 on a side")
                          .arg(size.width())
                          .arg(size.height())
                          .arg(maxPixels)
                          .arg(maxSide);
        return Refused;
    }
    if (!complete) {
        if (reason)
            *reason = QStringLiteral("the image file ends before its last row");
        return Refused;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.size() != size) {
        if (reason)
            *reason = QStringLiteral("the image is damaged (%1)").arg(reader.errorString());
        return Refused;
    }
    if (!toMask(image, bits, width, height)) {
        if (reason)
            *reason = QStringLiteral("there is not enough memory for it");
        return Refused;
    }
    return Loaded;
}

bool MaskImage::toMask(const QImage &image, std::vector<bool> &bits, quint32 &width,
                       quint32 &height)
{
    width = quint32(image.width());
    height = quint32(image.height());
    bits.assign(size_t(width) * height, false);
    for (quint32 first = 0; first < height; first += bandRows) {
        const int rows = int(std::min<quint32>(bandRows, height - first));
        const QImage band =
            image.copy(0, int(first), int(width), rows).convertToFormat(QImage::Format_ARGB32);
        if (band.isNull()) {
            bits.clear();
            width = height = 0;
            return false;
        }
        for (int r = 0; r < rows; ++r) {
            const QRgb *row = reinterpret_cast<const QRgb *>(band.constScanLine(r));
            const quint32 y = height - 1 - (first + quint32(r)); // the bottom row is y = 0
            for (quint32 px = 0; px < width; ++px) {
                const QRgb c = row[px];
                const bool opaque =
                    qGreen(c) == 0 && qBlue(c) == 0 && (qRed(c) == 0 || qRed(c) == 255);
                bits[size_t(px) * height + y] = opaque;
            }
        }
    }
    return true;
}

} // namespace Operations
} // namespace Core
