#include "Core/Operations/Photolithography/layoutmask.h"
#include "testmain.h"

#include <set>
#include <utility>

using Core::Operations::LayoutMask;
using Element = LayoutMask::Element;

typedef QList<QPoint> Cells;
Q_DECLARE_METATYPE(Cells)
Q_DECLARE_METATYPE(LayoutMask::Layout)

namespace {

const quint32 gridWidth = 12, gridHeight = 36;

/// Coordinates in microns, stored in nanometre database units.
std::vector<qint32> nm(std::initializer_list<double> microns)
{
    std::vector<qint32> xy;
    for (double v : microns)
        xy.push_back(qint32(v * 1000.0));
    return xy;
}

Element shape(Element::Kind kind, qint32 layer, std::vector<qint32> xy)
{
    Element e;
    e.kind = kind;
    e.layer = layer;
    e.xy = std::move(xy);
    return e;
}

Element reference(int cell, std::vector<qint32> xy)
{
    Element e;
    e.kind = Element::Reference;
    e.cell = cell;
    e.xy = std::move(xy);
    return e;
}

/// SUB (placed, so not the top): a 1 x 1 square on layer 3. TOP: on layer 1 a 2 x 2 square and
/// an L; on layer 2 a 4 x 1 rectangle; on layer 3 SUB placed rotated, as a 2 x 2 array and
/// mirrored and magnified, and two paths.
LayoutMask::Layout makeLayout()
{
    LayoutMask::Layout layout;
    layout.userUnit = 0.001;
    LayoutMask::Cell sub{QStringLiteral("SUB"), {}};
    sub.elements.push_back(shape(Element::Boundary, 3, nm({0, 0, 0, 1, 1, 1, 1, 0, 0, 0})));
    LayoutMask::Cell top{QStringLiteral("TOP"), {}};
    top.elements.push_back(shape(Element::Boundary, 1, nm({0, 0, 0, 2, 2, 2, 2, 0, 0, 0})));
    top.elements.push_back(shape(Element::Boundary, 1, nm({3, 0, 6, 0, 6, 1, 4, 1, 4, 3, 3, 3})));
    top.elements.push_back(shape(Element::Boundary, 2, nm({0, 5, 4, 5, 4, 6, 0, 6})));
    Element rotated = reference(0, nm({10, 0}));
    rotated.angle = 90.0;
    top.elements.push_back(rotated);
    Element array = reference(0, nm({0, 10, 4, 10, 0, 14}));
    array.columns = array.rows = 2;
    top.elements.push_back(array);
    Element mirrored = reference(0, nm({5, 20}));
    mirrored.reflect = true;
    mirrored.magnification = 2.0;
    top.elements.push_back(mirrored);
    Element straight = shape(Element::Path, 3, nm({0, 25, 4, 25}));
    straight.width = 2000;
    straight.pathType = 2;
    top.elements.push_back(straight);
    Element bent = shape(Element::Path, 3, nm({0, 30, 4, 30, 4, 34}));
    bent.width = 2000;
    top.elements.push_back(bent);
    layout.cells = {sub, top};
    return layout;
}

Cells opaqueCells(const std::vector<bool> &bits)
{
    Cells cells;
    for (quint32 x = 0; x < gridWidth; ++x)
        for (quint32 y = 0; y < gridHeight; ++y)
            if (bits[x * gridHeight + y])
                cells.append(QPoint(int(x), int(y)));
    return cells;
}

Cells sorted(Cells cells)
{
    std::sort(cells.begin(), cells.end(), [](const QPoint &a, const QPoint &b) {
        return std::make_pair(a.x(), a.y()) < std::make_pair(b.x(), b.y());
    });
    return cells;
}

} // namespace

class TestLayoutMask : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opaqueWhereCentresAreInside_data();
    void opaqueWhereCentresAreInside();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
};

void TestLayoutMask::opaqueWhereCentresAreInside_data()
{
    QTest::addColumn<int>("layer");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("offset");
    QTest::addColumn<Cells>("expected");
    // One micron per cell: column (x, y) has its centre at (x + 0.5, y + 0.5) microns.
    // Square [0,2]^2: 4 cells. L [3,4]x[0,3] and [4,6]x[0,1]: x 3 for y 0..2, x 4 and 5 for y 0.
    QTest::newRow("square and L") << 1 << 1.0 << 0.0
                                  << Cells{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {3, 0},
                                           {3, 1}, {3, 2}, {4, 0}, {5, 0}};
    QTest::newRow("rectangle") << 2 << 1.0 << 0.0 << Cells{{0, 5}, {1, 5}, {2, 5}, {3, 5}};
    // Two microns per cell from (0.5, 0.5): centres at 1.5, 3.5, 5.5...; (1.5, 1.5) lies in the
    // square, (3.5, 1.5) in the L, (5.5, 1.5) above its foot.
    QTest::newRow("coarser, shifted") << 1 << 2.0 << 0.5 << Cells{{0, 0}, {1, 0}};
    // SUB turned by 90 degrees at (10, 0): [9,10]x[0,1]. The array at (0, 10), pitch 2. Mirrored
    // and doubled at (5, 20): [5,7]x[18,20]. The straight path 2 wide, ends extended by 1:
    // [-1,5]x[24,26]. The bent one: [0,4]x[29,31] and [3,5]x[30,34] with the mitre [4,5]x[29,30].
    Cells hierarchy{{9, 0},  {0, 10}, {2, 10}, {0, 12}, {2, 12}, {5, 18}, {6, 18}, {5, 19}, {6, 19},
                    {4, 29}, {4, 30}, {3, 31}, {4, 31}, {3, 32}, {4, 32}, {3, 33}, {4, 33}};
    for (int x = 0; x <= 4; ++x)
        hierarchy << QPoint(x, 24) << QPoint(x, 25);
    for (int x = 0; x <= 3; ++x)
        hierarchy << QPoint(x, 29) << QPoint(x, 30);
    QTest::newRow("placements and paths") << 3 << 1.0 << 0.0 << hierarchy;
}

void TestLayoutMask::opaqueWhereCentresAreInside()
{
    QFETCH(int, layer);
    QFETCH(double, scale);
    QFETCH(double, offset);
    QFETCH(Cells, expected);
    const LayoutMask::Layout layout = makeLayout();
    const int top = LayoutMask::topCell(layout);
    QCOMPARE(top, 1); // SUB is placed by TOP
    std::vector<bool> bits;
    QString reason;
    QVERIFY2(LayoutMask::rasterise(layout, top, layer, scale, offset, offset, gridWidth, gridHeight,
                                   bits, &reason),
             qPrintable(reason));
    QCOMPARE(bits.size(), size_t(gridWidth * gridHeight));
    QCOMPARE(sorted(opaqueCells(bits)), sorted(expected));
}

void TestLayoutMask::refusalsChangeNothing_data()
{
    QTest::addColumn<LayoutMask::Layout>("layout");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("layer");
    QTest::addColumn<QString>("reason");
    const LayoutMask::Layout good = makeLayout();
    QTest::newRow("missing layer") << good << "TOP" << 7 << "holds no shape on layer 7";
    QTest::newRow("missing cell") << good << "NOPE" << 1 << "no such cell";

    LayoutMask::Layout selfPlacing = good;
    selfPlacing.cells[0].elements.push_back(reference(0, nm({1, 0})));
    QTest::newRow("cell placing itself") << selfPlacing << "TOP" << 3 << "nested more than";

    LayoutMask::Layout hugeArray = good;
    Element array = reference(0, nm({0, 0, 32767, 0, 0, 32767}));
    array.columns = array.rows = 32767;
    hugeArray.cells[1].elements.push_back(array);
    QTest::newRow("huge array") << hugeArray << "TOP" << 3 << "places more than";

    LayoutMask::Layout unknown = good;
    unknown.cells[1].elements.push_back(reference(-1, nm({0, 0})));
    QTest::newRow("unknown cell placed") << unknown << "TOP" << 1 << "not in the layout";

    LayoutMask::Layout huge = good;
    huge.userUnit = 1e300; // times 1e10 cells per unit: beyond any double
    QTest::newRow("huge coordinates") << huge << "TOP" << 1 << "out of range";
}

void TestLayoutMask::refusalsChangeNothing()
{
    QFETCH(LayoutMask::Layout, layout);
    QFETCH(QString, cell);
    QFETCH(int, layer);
    QFETCH(QString, reason);
    const double scale = layout.userUnit > 1.0 ? 1e-10 : 1.0;
    const std::vector<bool> before = {true, false, true};
    std::vector<bool> bits = before;
    QString why;
    QVERIFY(!LayoutMask::rasterise(layout, LayoutMask::findCell(layout, cell), layer, scale, 0.0,
                                   0.0, gridWidth, gridHeight, bits, &why));
    QVERIFY2(why.contains(reason), qPrintable(why));
    QVERIFY(bits == before);
}

CELVANE_TEST_MAIN(TestLayoutMask)
#include "tst_layoutmask.moc"
