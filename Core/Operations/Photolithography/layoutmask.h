#ifndef CELVANE_CORE_OPERATIONS_LAYOUTMASK_H
#define CELVANE_CORE_OPERATIONS_LAYOUTMASK_H

#include <QString>

#include <vector>

namespace Core {
namespace Operations {

/// A layout (cells of polygons, paths and placements of other cells, as layout files hold them)
/// turned into mask bits on a volume's cell grid: a column is opaque when its centre lies inside
/// a shape of the chosen layer, with the hierarchy below the chosen cell flattened. The work is
/// bounded, so a crafted layout (a cell placing itself, arrays of arrays, huge coordinates) is
/// refused with a reason instead of hanging or exhausting memory.
class LayoutMask
{
public:
    /// One element of a cell. Coordinates are in database units, x and y interleaved.
    struct Element
    {
        enum Kind
        {
            Boundary,  ///< a polygon (xy: its vertices; a repeated first vertex is allowed)
            Path,      ///< a centre line (xy) widened to width
            Reference, ///< a placement of cell: one (xy: the origin) or an array (xy: origin,
                       ///< origin + columns x column step, origin + rows x row step)
        };
        Kind kind = Boundary;
        qint32 layer = 0;
        std::vector<qint32> xy;
        /// Paths: the width; a negative one is absolute (not magnified by placements).
        qint32 width = 0;
        /// Paths: 0 flush ends, 1 round ends, 2 ends extended by half the width.
        qint32 pathType = 0;
        /// References: the placed cell's index in the layout, -1 when the file has no such cell.
        int cell = -1;
        bool reflect = false; ///< mirrored across the x axis before magnification and rotation
        double magnification = 1.0;
        double angle = 0.0;  ///< degrees, counter-clockwise
        quint32 columns = 0; ///< 0 for a single placement
        quint32 rows = 0;
    };

    struct Cell
    {
        QString name;
        std::vector<Element> elements;
    };

    struct Layout
    {
        double userUnit = 1.0; ///< layout units per database unit
        std::vector<Cell> cells;
    };

    /// Cells nested deeper than this are refused (a cell placing itself nests without end).
    static const int maxDepth = 64;
    /// The most shapes and placements the flattening visits before it refuses the layout.
    static const quint64 maxVisits = 4000000;
    /// The most polygon edges times grid rows the rasterisation may cross.
    static const quint64 maxWork = 1000000000;

    /// The index of the first cell that no other cell places; -1 when every cell is placed.
    static int topCell(const Layout &layout);
    /// The index of the cell of that name; -1 when there is none.
    static int findCell(const Layout &layout, const QString &name);

    /// Rasterises the shapes of layer in cell (flattened) onto width x height columns, bit
    /// (x, y) = x * height + y. The centre of column (x, y) is the layout point
    /// (offsetX + (x + 0.5) * scale, offsetY + (y + 0.5) * scale) in layout units: scale is the
    /// layout units per cell. False with a reason (and bits untouched) when the cell holds no
    /// shape on the layer, the layout is damaged or it needs more work than the bounds allow.
    static bool rasterise(const Layout &layout, int cell, qint32 layer, double scale,
                          double offsetX, double offsetY, quint32 width, quint32 height,
                          std::vector<bool> &bits, QString *reason = nullptr);
};

} // namespace Operations
} // namespace Core

#endif
