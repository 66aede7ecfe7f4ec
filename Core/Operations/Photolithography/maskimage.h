#ifndef CELVANE_CORE_OPERATIONS_MASKIMAGE_H
#define CELVANE_CORE_OPERATIONS_MASKIMAGE_H

#include <QString>

#include <vector>

class QImage;
class QIODevice;

namespace Core {
namespace Operations {

/// A mask image file turned into mask bits. The image's size is read before it is decoded,
/// so a small file claiming a huge picture is refused without a huge allocation, and an
/// image that decodes only in part is refused rather than read with rows that were never
/// written.
class MaskImage
{
public:
    enum Result
    {
        Loaded,
        NotFound, ///< the file cannot be opened or holds no image this program reads
        Refused,  ///< an image, but too large or damaged; the reason says which
    };

    /// No side of a mask may be longer than this.
    static const quint32 maxSide = 16384;

    /// The most pixels a mask may have for a volume of footprint columns (cellsX * cellsY;
    /// 0 when no volume is known): a few times the footprint, at least 4096 x 4096.
    static quint64 pixelLimit(quint64 footprint);

    /// Reads an image file into bits (bit (x, y) = x * height + y, see toMask).
    static Result load(const QString &fileName, quint64 maxPixels, std::vector<bool> &bits,
                       quint32 &width, quint32 &height, QString *reason = nullptr);
    /// As load(fileName, ...), from an open device.
    static Result load(QIODevice &device, quint64 maxPixels, std::vector<bool> &bits,
                       quint32 &width, quint32 &height, QString *reason = nullptr);

    /// Bit (x, y) = x * height + y; the image's bottom row is y = 0; pure black and pure red
    /// pixels are opaque (1), every other colour is clear. False, with an empty mask, when
    /// there is no memory to convert the image.
    static bool toMask(const QImage &image, std::vector<bool> &bits, quint32 &width,
                       quint32 &height);
};

} // namespace Operations
} // namespace Core

#endif
