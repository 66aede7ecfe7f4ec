#include "Core/Operations/Photolithography/layoutfile.h"
#include "gdstestutil.h"
#include "testmain.h"

using Core::Operations::LayoutFile;
using Core::Operations::LayoutMask;

typedef QList<QPoint> Cells;
Q_DECLARE_METATYPE(Cells)

namespace {

const quint32 gridWidth = 8, gridHeight = 8;

Cells opaqueCells(const std::vector<bool> &bits)
{
    Cells cells;
    for (quint32 x = 0; x < gridWidth; ++x)
        for (quint32 y = 0; y < gridHeight; ++y)
            if (bits[x * gridHeight + y])
                cells.append(QPoint(int(x), int(y)));
    return cells;
}

} // namespace

class TestLayoutFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsWhatTheEditorDrew_data();
    void readsWhatTheEditorDrew();
    void mirroredPlacementsAreMirrored();
    void unusableFilesChangeNothing_data();
    void unusableFilesChangeNothing();
    void malformedReaderOutputIsRefused_data();
    void malformedReaderOutputIsRefused();
};

void TestLayoutFile::readsWhatTheEditorDrew_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("layer");
    QTest::addColumn<Cells>("expected");
    // One micron per cell: column (x, y) has its centre at (x + 0.5, y + 0.5) microns. Square
    // [0,2]^2: 4 cells. L [3,4]x[0,3] and [4,6]x[0,1]: x 3 for y 0..2, x 4 and 5 for y 0.
    const Cells squareAndL{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {3, 0}, {3, 1}, {3, 2}, {4, 0}, {5, 0}};
    QTest::newRow("top cell, layer 1") << QString() << 1 << squareAndL;
    QTest::newRow("TOP by name, layer 1") << "TOP" << 1 << squareAndL;
    // The rectangle [0,4]x[0,1] placed at (0, 5).
    QTest::newRow("top cell, layer 2") << QString() << 2 << Cells{{0, 5}, {1, 5}, {2, 5}, {3, 5}};
    QTest::newRow("SUB alone, layer 2") << "SUB" << 2 << Cells{{0, 0}, {1, 0}, {2, 0}, {3, 0}};
}

void TestLayoutFile::readsWhatTheEditorDrew()
{
    QFETCH(QString, cell);
    QFETCH(int, layer);
    QFETCH(Cells, expected);
    QTemporaryDir dir;
    LayoutFile::Choice choice;
    choice.file = Gds::writeFile(dir, Gds::squareLAndRectangle());
    choice.cell = cell;
    choice.layer = layer;
    std::vector<bool> bits;
    QString reason;
    QCOMPARE(LayoutFile::loadMask(choice, gridWidth, gridHeight, bits, &reason),
             LayoutFile::Loaded);
    QCOMPARE(opaqueCells(bits), expected);

    LayoutMask::Layout layout;
    QCOMPARE(LayoutFile::read(choice.file, layout), LayoutFile::Loaded);
    QCOMPARE(layout.userUnit, 0.001);
    QCOMPARE(LayoutFile::layers(layout), (std::vector<qint32>{1, 2}));
}

void TestLayoutFile::mirroredPlacementsAreMirrored()
{
    // The rectangle [0,4]x[0,1], mirrored about the x axis: [0,4]x[-1,0]; placed at (0, 5):
    // [0,4]x[4,5], row y = 4. Mirrored, then turned by 90 degrees, (x, y) -> (y, x): [0,1]x[0,4];
    // placed at (6, 0): [6,7]x[0,4], column x = 6. Unmirrored they would land in row 5 and
    // column 5.
    QTemporaryDir dir;
    LayoutFile::Choice choice;
    choice.file = Gds::writeFile(dir, Gds()
                                          .cell("SUB")
                                          .boundary(2, {0, 0, 4, 0, 4, 1, 0, 1})
                                          .endCell()
                                          .cell("TOP")
                                          .placeMirrored("SUB", 0, 5, 0)
                                          .placeMirrored("SUB", 6, 0, 90)
                                          .endCell()
                                          .bytes());
    choice.layer = 2;
    std::vector<bool> bits;
    QCOMPARE(LayoutFile::loadMask(choice, gridWidth, gridHeight, bits), LayoutFile::Loaded);
    QCOMPARE(opaqueCells(bits),
             (Cells{{0, 4}, {1, 4}, {2, 4}, {3, 4}, {6, 0}, {6, 1}, {6, 2}, {6, 3}}));
}

void TestLayoutFile::unusableFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("layer");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("reason");
    const QString unreadable = QStringLiteral("not a readable GDSII layout");
    QTest::newRow("cut short") << Gds::squareLAndRectangle().left(150) << QString() << 1
                               << int(LayoutFile::Refused) << unreadable;
    QTest::newRow("not GDSII") << QByteArray("P1\n2 2\n0 1 1 0\n") << QString() << 1
                               << int(LayoutFile::Refused) << unreadable;
    // A structure name of the wrong data type, found by fuzzing: the library used to crash on it.
    QTest::newRow("fuzzed crash")
        << QByteArray::fromHex(
               "000600020258001c0102000000000000000000000000000000000000000000000000000802064c49"
               "4200001403053e4189374bc6a7f03944b82fa09b5a54001c05020000000000000000000000000000"
               "0000000000000000000000080604544f50000004080000060d02000100060e020000002c10030000"
               "00000000000000000000000003e8000003e8000003e8000003e80000000000000000000000000004"
               "11000004070000040400")
        << QString() << 1 << int(LayoutFile::Refused) << unreadable;
    QTest::newRow("cell placing itself")
        << Gds().cell("A").boundary(1, {0, 0, 1, 0, 1, 1}).place("A", 1, 1).endCell().bytes() << "A"
        << 1 << int(LayoutFile::Refused) << "nested more than";
    QTest::newRow("missing layer") << Gds::squareLAndRectangle() << QString() << 7
                                   << int(LayoutFile::Refused) << "holds no shape on layer 7";
    QTest::newRow("missing cell") << Gds::squareLAndRectangle() << "NOPE" << 1
                                  << int(LayoutFile::Refused) << "no cell \"NOPE\"";
    QTest::newRow("missing file") << QByteArray() << QString() << 1 << int(LayoutFile::NotFound)
                                  << QString();
}

void TestLayoutFile::unusableFilesChangeNothing()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, cell);
    QFETCH(int, layer);
    QFETCH(int, result);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    LayoutFile::Choice choice;
    choice.file =
        file.isEmpty() ? dir.filePath(QStringLiteral("none.gds")) : Gds::writeFile(dir, file);
    choice.cell = cell;
    choice.layer = layer;
    const std::vector<bool> before = {true, false, true};
    std::vector<bool> bits = before;
    QString why;
    QCOMPARE(int(LayoutFile::loadMask(choice, gridWidth, gridHeight, bits, &why)), result);
    QVERIFY2(why.contains(reason), qPrintable(why));
    QVERIFY(bits == before);
}

void TestLayoutFile::malformedReaderOutputIsRefused_data()
{
    QTest::addColumn<QByteArray>("output");
    const QByteArray head = "celvane-gdsread 1\nunit 0.001\ncell 41\n";
    QTest::newRow("no end") << head + "b 1 3 0 0 1 0 1 1\n";
    QTest::newRow("fewer points than said") << head + "b 1 4 0 0 1 0 1 1\nend\n";
    QTest::newRow("coordinate beyond 32 bits") << head + "b 1 1 4294967296 0\nend\n";
    QTest::newRow("name not hex") << head + "r zz 0 1 0 0 0 1 0 0\nend\n";
    QTest::newRow("other version") << QByteArray("celvane-gdsread 2\nunit 0.001\nend\n");
    QTest::newRow("shape before any cell") << QByteArray("celvane-gdsread 1\nunit 1\nb 1 0\nend\n");
    QTest::newRow("text after end") << head + "end\nb 1 0\n";
}

void TestLayoutFile::malformedReaderOutputIsRefused()
{
    QFETCH(QByteArray, output);
    LayoutMask::Layout layout;
    layout.userUnit = 5.0;
    QVERIFY(!LayoutFile::parse(output, layout));
    QCOMPARE(layout.userUnit, 5.0);
    QVERIFY(LayoutFile::parse("celvane-gdsread 1\nunit 0.001\ncell 41\nb 1 0\nend\n", layout));
    QCOMPARE(layout.cells.size(), size_t(1));
}

CELVANE_TEST_MAIN(TestLayoutFile)
#include "tst_layoutfile.moc"
