#include "Core/Operations/Photolithography/layoutmask.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace Core {
namespace Operations {

namespace {

using Element = LayoutMask::Element;
using Layout = LayoutMask::Layout;

struct Point
{
    double x, y;
};

/// x' = a x + b y + e, y' = c x + d y + f.
struct Affine
{
    double a, b, c, d, e, f;

    Point apply(double x, double y) const { return {a * x + b * y + e, c * x + d * y + f}; }
    /// This transformation after inner.
    Affine after(const Affine &inner) const
    {
        return {a * inner.a + b * inner.c,     a * inner.b + b * inner.d,
                c * inner.a + d * inner.c,     c * inner.b + d * inner.d,
                a * inner.e + b * inner.f + e, c * inner.e + d * inner.f + f};
    }
    /// How lengths scale (placements only rotate, mirror and magnify).
    double lengthScale() const { return std::sqrt(std::fabs(a * d - b * c)); }
};

/// cos and sin of an angle in degrees, exact for multiples of 90 (the usual placements), so a
/// rotated shape keeps its edges on the grid lines it was drawn on.
void cosSin(double degrees, double &cosine, double &sine)
{
    const double quarter = degrees / 90.0;
    if (quarter == std::floor(quarter) && std::fabs(quarter) < 1e9) {
        static const double cosines[4] = {1.0, 0.0, -1.0, 0.0};
        const int k = int(std::fmod(quarter, 4.0) + 4.0) % 4;
        cosine = cosines[k];
        sine = cosines[(k + 3) % 4];
        return;
    }
    const double radians = degrees * M_PI / 180.0;
    cosine = std::cos(radians);
    sine = std::sin(radians);
}

bool finite(const Point &p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

/// Walks the hierarchy below one cell and fills the columns whose centres lie in the layer's
/// shapes. Bounded in depth, visits and rasterisation work.
class Flattener
{
public:
    Flattener(const Layout &layout, qint32 layer, quint32 width, quint32 height,
              std::vector<bool> &bits)
        : layout(layout), layer(layer), width(width), height(height), bits(bits)
    {}

    bool walk(int cellIndex, const Affine &toGrid, int depth);

    QString reason;
    quint64 shapesOnLayer = 0;
    double absoluteScale = 1.0; ///< grid units per database unit, without placements

private:
    bool visit(quint64 count);
    bool place(const Element &element, const QString &cellName, const Affine &toGrid, int depth);
    bool addPath(const Element &element, const Affine &toGrid);
    bool fill(const std::vector<Point> &polygon);
    bool refuse(const QString &why)
    {
        reason = why;
        return false;
    }

    const Layout &layout;
    const qint32 layer;
    const quint32 width, height;
    std::vector<bool> &bits;
    quint64 visits = 0;
    quint64 work = 0;
    std::vector<double> crossings;
};

bool Flattener::visit(quint64 count)
{
    visits += count;
    if (visits <= LayoutMask::maxVisits)
        return true;
    return refuse(QStringLiteral("it places more than %1 shapes").arg(LayoutMask::maxVisits));
}

bool Flattener::walk(int cellIndex, const Affine &toGrid, int depth)
{
    if (depth > LayoutMask::maxDepth)
        return refuse(QStringLiteral("its cells are nested more than %1 deep (a cell may place "
                                     "itself)")
                          .arg(LayoutMask::maxDepth));
    const LayoutMask::Cell &cell = layout.cells[size_t(cellIndex)];
    for (const Element &element : cell.elements) {
        if (!visit(1))
            return false;
        if (element.xy.size() % 2)
            return refuse(QStringLiteral("the cell \"%1\" holds a damaged shape").arg(cell.name));
        if (element.kind == Element::Reference) {
            if (!place(element, cell.name, toGrid, depth))
                return false;
            continue;
        }
        if (element.layer != layer)
            continue;
        ++shapesOnLayer;
        if (element.kind == Element::Path) {
            if (!addPath(element, toGrid))
                return false;
            continue;
        }
        std::vector<Point> polygon;
        polygon.reserve(element.xy.size() / 2);
        for (size_t i = 0; i + 1 < element.xy.size(); i += 2)
            polygon.push_back(toGrid.apply(element.xy[i], element.xy[i + 1]));
        if (polygon.size() >= 3 && !fill(polygon))
            return false;
    }
    return true;
}

bool Flattener::place(const Element &element, const QString &cellName, const Affine &toGrid,
                      int depth)
{
    if (element.cell < 0 || size_t(element.cell) >= layout.cells.size())
        return refuse(QStringLiteral("the cell \"%1\" places a cell that is not in the layout")
                          .arg(cellName));
    const bool array = element.columns || element.rows;
    if ((array && (!element.columns || !element.rows || element.xy.size() != 6)) ||
        element.xy.size() < 2 || !std::isfinite(element.magnification) ||
        element.magnification <= 0.0 || !std::isfinite(element.angle))
        return refuse(QStringLiteral("the cell \"%1\" holds a damaged placement").arg(cellName));
    double cosine, sine;
    cosSin(element.angle, cosine, sine);
    const double m = element.magnification, mirror = element.reflect ? -1.0 : 1.0;
    const Affine local = {m * cosine, -m * sine * mirror, m * sine, m * cosine * mirror, 0.0, 0.0};
    const double x0 = element.xy[0], y0 = element.xy[1];
    if (!array) {
        Affine placed = local;
        placed.e = x0;
        placed.f = y0;
        return walk(element.cell, toGrid.after(placed), depth + 1);
    }
    // Refused before the loop, so an array of arrays cannot keep the walk busy for long.
    if (!visit(quint64(element.columns) * element.rows))
        return false;
    const double columnX = (element.xy[2] - x0) / element.columns,
                 columnY = (element.xy[3] - y0) / element.columns;
    const double rowX = (element.xy[4] - x0) / element.rows,
                 rowY = (element.xy[5] - y0) / element.rows;
    for (quint32 column = 0; column < element.columns; ++column)
        for (quint32 row = 0; row < element.rows; ++row) {
            Affine placed = local;
            placed.e = x0 + column * columnX + row * rowX;
            placed.f = y0 + column * columnY + row * rowY;
            if (!walk(element.cell, toGrid.after(placed), depth + 1))
                return false;
        }
    return true;
}

bool Flattener::addPath(const Element &element, const Affine &toGrid)
{
    std::vector<Point> line;
    for (size_t i = 0; i + 1 < element.xy.size(); i += 2) {
        const Point p = toGrid.apply(element.xy[i], element.xy[i + 1]);
        if (line.empty() || p.x != line.back().x || p.y != line.back().y)
            line.push_back(p);
    }
    const double half = element.width >= 0 ? element.width / 2.0 * toGrid.lengthScale()
                                           : -double(element.width) / 2.0 * absoluteScale;
    if (line.size() < 2 || !(half > 0.0))
        return true; // covers nothing
    std::vector<Point> direction(line.size() - 1), normal(line.size() - 1);
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const double dx = line[i + 1].x - line[i].x, dy = line[i + 1].y - line[i].y;
        const double length = std::hypot(dx, dy);
        if (!(length > 0.0) || !std::isfinite(length))
            return refuse(QStringLiteral("its coordinates are out of range"));
        direction[i] = {dx / length, dy / length};
        normal[i] = {-dy / length, dx / length};
    }
    const size_t last = line.size() - 1;
    if (element.pathType == 2) { // ends extended by half the width
        line[0].x -= direction[0].x * half;
        line[0].y -= direction[0].y * half;
        line[last].x += direction[last - 1].x * half;
        line[last].y += direction[last - 1].y * half;
    }
    std::vector<Point> polygon(4);
    for (size_t i = 0; i < last; ++i) {
        const Point &p = line[i], &q = line[i + 1], &n = normal[i];
        polygon = {{p.x + n.x * half, p.y + n.y * half},
                   {p.x - n.x * half, p.y - n.y * half},
                   {q.x - n.x * half, q.y - n.y * half},
                   {q.x + n.x * half, q.y + n.y * half}};
        if (!fill(polygon))
            return false;
    }
    // Mitred joins: the wedge between two segments on the outside of the bend. A bend so sharp
    // that the mitre would reach far out is bevelled.
    for (size_t i = 1; i < last; ++i) {
        const Point &p = line[i], &n1 = normal[i - 1], &n2 = normal[i];
        const Point &d1 = direction[i - 1], &d2 = direction[i];
        const double turn = d1.x * d2.y - d1.y * d2.x;
        if (turn == 0.0)
            continue;
        const double side = turn > 0.0 ? -half : half;
        const Point a = {p.x + n1.x * side, p.y + n1.y * side};
        const Point b = {p.x + n2.x * side, p.y + n2.y * side};
        const double along = 1.0 + n1.x * n2.x + n1.y * n2.y;
        if (along > 0.1)
            polygon = {
                p, a, {p.x + (n1.x + n2.x) / along * side, p.y + (n1.y + n2.y) / along * side}, b};
        else
            polygon = {p, a, b};
        if (!fill(polygon))
            return false;
    }
    if (element.pathType == 1) { // round ends
        const int corners = 32;
        polygon.resize(corners);
        for (const Point &end : {line[0], line[last]}) {
            for (int k = 0; k < corners; ++k) {
                const double t = 2.0 * M_PI * k / corners;
                polygon[size_t(k)] = {end.x + half * std::cos(t), end.y + half * std::sin(t)};
            }
            if (!fill(polygon))
                return false;
        }
    }
    return true;
}

/// Sets the columns whose centres lie inside the polygon (even-odd rule). A centre on a left or
/// lower edge counts as inside, one on a right or upper edge as outside, so shapes that share an
/// edge never both claim the columns along it.
bool Flattener::fill(const std::vector<Point> &polygon)
{
    double minY = polygon[0].y, maxY = polygon[0].y;
    for (const Point &p : polygon) {
        if (!finite(p))
            return refuse(QStringLiteral("its coordinates are out of range"));
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    // Rows whose centres y + 0.5 lie in [minY, maxY).
    const double firstRow = std::max(0.0, std::ceil(minY - 0.5));
    const double endRow = std::min(double(height), std::ceil(maxY - 0.5));
    if (firstRow >= endRow)
        return true;
    work += quint64(endRow - firstRow) * polygon.size();
    if (work > LayoutMask::maxWork)
        return refuse(QStringLiteral("its shapes are too many or too large to rasterise"));
    for (quint32 y = quint32(firstRow); y < quint32(endRow); ++y) {
        const double centre = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < polygon.size(); ++i) {
            const Point &p = polygon[i], &q = polygon[(i + 1) % polygon.size()];
            if ((p.y <= centre) != (q.y <= centre))
                crossings.push_back(p.x + (centre - p.y) * (q.x - p.x) / (q.y - p.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const double first = std::max(0.0, std::ceil(crossings[i] - 0.5));
            const double end = std::min(double(width), std::ceil(crossings[i + 1] - 0.5));
            for (double x = first; x < end; ++x)
                bits[size_t(x) * height + y] = true;
        }
    }
    return true;
}

} // namespace

int LayoutMask::topCell(const Layout &layout)
{
    std::vector<bool> placed(layout.cells.size(), false);
    for (const Cell &cell : layout.cells)
        for (const Element &element : cell.elements)
            if (element.kind == Element::Reference && element.cell >= 0 &&
                size_t(element.cell) < placed.size())
                placed[size_t(element.cell)] = true;
    const auto top = std::find(placed.begin(), placed.end(), false);
    return top == placed.end() ? -1 : int(top - placed.begin());
}

int LayoutMask::findCell(const Layout &layout, const QString &name)
{
    for (size_t i = 0; i < layout.cells.size(); ++i)
        if (layout.cells[i].name == name)
            return int(i);
    return -1;
}

bool LayoutMask::rasterise(const Layout &layout, int cell, qint32 layer, double scale,
                           double offsetX, double offsetY, quint32 width, quint32 height,
                           std::vector<bool> &bits, QString *reason)
{
    auto refuse = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (cell < 0 || size_t(cell) >= layout.cells.size())
        return refuse(QStringLiteral("the layout has no such cell"));
    if (!(scale > 0.0) || !std::isfinite(scale) || !std::isfinite(offsetX) ||
        !std::isfinite(offsetY) || !(layout.userUnit > 0.0) || !std::isfinite(layout.userUnit))
        return refuse(QStringLiteral("its scale or offset is not a usable number"));
    std::vector<bool> result;
    try {
        result.assign(size_t(width) * height, false);
    } catch (const std::bad_alloc &) {
        return refuse(QStringLiteral("there is not enough memory for it"));
    }
    Flattener flattener(layout, layer, width, height, result);
    flattener.absoluteScale = layout.userUnit / scale;
    const Affine toGrid = {
        flattener.absoluteScale, 0.0, 0.0, flattener.absoluteScale, -offsetX / scale,
        -offsetY / scale};
    bool done;
    try {
        done = flattener.walk(cell, toGrid, 0);
    } catch (const std::bad_alloc &) {
        return refuse(QStringLiteral("there is not enough memory for it"));
    }
    if (!done)
        return refuse(flattener.reason);
    if (!flattener.shapesOnLayer)
        return refuse(QStringLiteral("the cell \"%1\" holds no shape on layer %2")
                          .arg(layout.cells[size_t(cell)].name)
                          .arg(layer));
    bits.swap(result);
    return true;
}

} // namespace Operations
} // namespace Core
