#ifndef CELVANE_CORE_OPERATIONS_LAYOUTFILE_H
#define CELVANE_CORE_OPERATIONS_LAYOUTFILE_H

#include "Core/Operations/Photolithography/layoutmask.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace Core {
namespace Operations {

/// A GDSII layout file as a mask. The file is read by the helper program celvane-gdsread in a
/// process of its own, watched with a timeout: the GDSII library it uses can crash, hang or end
/// its process on a damaged file, and here that only makes the file unreadable.
class LayoutFile
{
public:
    enum Result
    {
        Loaded,
        NotFound, ///< the file cannot be opened
        Refused,  ///< not a readable layout, or its cell or layer cannot be used; see the reason
    };

    /// What a mask is made of: a file, one of its cells and one layer, placed on the cell grid.
    struct Choice
    {
        QString file;
        QString cell; ///< empty: the top cell
        qint32 layer = 0;
        double scale = 1.0;   ///< layout units per cell
        double offsetX = 0.0; ///< layout point under the corner of column (0, 0), layout units
        double offsetY = 0.0;
    };

    /// How long the reader may take before it is stopped.
    static const int timeoutMs = 10000;
    /// The most output the reader may write (its description of the layout).
    static const qint64 maxOutput = qint64(512) << 20;

    /// The reader program: next to the running program, else where the build put it; empty
    /// when neither is there.
    static QString readerPath();

    /// Reads a GDSII file into layout (unchanged on failure).
    static Result read(const QString &fileName, LayoutMask::Layout &layout,
                       QString *reason = nullptr);
    /// Reads the reader's output; false (layout unchanged) when it is malformed in any way.
    static bool parse(const QByteArray &output, LayoutMask::Layout &layout);

    /// The layers holding polygons or paths anywhere in the layout, ascending.
    static std::vector<qint32> layers(const LayoutMask::Layout &layout);

    /// Rasterises the choice's cell and layer onto width x height columns (see LayoutMask);
    /// false with a reason, bits unchanged, when the cell or layer is missing or unusable.
    static bool rasterise(const LayoutMask::Layout &layout, const Choice &choice, quint32 width,
                          quint32 height, std::vector<bool> &bits, QString *reason = nullptr);
    /// Reads choice.file and rasterises it.
    static Result loadMask(const Choice &choice, quint32 width, quint32 height,
                           std::vector<bool> &bits, QString *reason = nullptr);
};

} // namespace Operations
} // namespace Core

#endif
