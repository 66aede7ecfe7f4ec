#include "Model/Materials/materialfactory.h"
#include "UI/crosssectionimage.h"
#include "testmain.h"

using Model::Automaton::TotalVolume;
using Ui::CrossSectionImage;

namespace {

// 4 x 3 x 2 cells: material 1 (x + y + z) % 3 == 1, material 2 where it is 2, empty elsewhere.
quint32 materialAt(quint32 x, quint32 y, quint32 z)
{
    return (x + y + z) % 3;
}

TotalVolume::Ptr makeVolume()
{
    std::vector<quint32> materials(4 * 3 * 2);
    for (quint32 x = 0; x < 4; ++x)
        for (quint32 y = 0; y < 3; ++y)
            for (quint32 z = 0; z < 2; ++z)
                materials[(x * 3 + y) * 2 + z] = materialAt(x, y, z);
    return TotalVolume::create(4, 3, 2, 1.0f, 1.0f, 1.0f, Util::Vector3D(0.0), materials);
}

QRgb colorOf(quint32 material)
{
    if (material == 0)
        return QColor(Qt::white).rgb();
    float c[4];
    Model::Materials::MaterialFactory::instance()->getMaterial(material).getColor(c);
    return QColor::fromRgbF(c[0], c[1], c[2]).rgb();
}

} // namespace

class TestCrossSectionImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pixelsAreTheCells_data();
    void pixelsAreTheCells();
    void parse_data();
    void parse();
    void planeOutsideTheVolume();
};

void TestCrossSectionImage::pixelsAreTheCells_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<quint32>("index");
    QTest::addColumn<int>("pixels");
    QTest::newRow("z:1") << 2 << 1u << 1;
    QTest::newRow("x:2, 3 pixels a cell") << 0 << 2u << 3;
    QTest::newRow("y:0") << 1 << 0u << 1;
}

void TestCrossSectionImage::pixelsAreTheCells()
{
    QFETCH(int, axis);
    QFETCH(quint32, index);
    QFETCH(int, pixels);
    TotalVolume::Ptr volume = makeVolume();
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("plane.png"));
    QString reason;
    QVERIFY2(CrossSectionImage::save(*volume, axis, index, pixels, fileName, &reason),
             qPrintable(reason));
    const QImage image(fileName);
    QVERIFY(!image.isNull());
    // Across x the picture shows y and z, across y x and z, across z x and y; up is up.
    const quint32 n[3] = {4, 3, 2};
    const int u = axis == 0 ? 1 : 0, v = axis == 2 ? 1 : 2;
    QVERIFY(image.width() > int(n[u]) * pixels); // the legend lies to the right
    for (quint32 j = 0; j < n[v]; ++j)
        for (quint32 i = 0; i < n[u]; ++i) {
            quint32 at[3];
            at[axis] = index;
            at[u] = i;
            at[v] = j;
            const QRgb expected = colorOf(materialAt(at[0], at[1], at[2]));
            for (int dy = 0; dy < pixels; ++dy)
                for (int dx = 0; dx < pixels; ++dx)
                    QCOMPARE(image.pixel(int(i) * pixels + dx, int(n[v] - 1 - j) * pixels + dy),
                             expected);
        }
}

void TestCrossSectionImage::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("axis");
    QTest::addColumn<quint32>("index");
    QTest::newRow("z:3") << "z:3" << true << 2 << 3u;
    QTest::newRow("capital") << "X:0" << true << 0 << 0u;
    QTest::newRow("no index") << "y" << false << 0 << 0u;
    QTest::newRow("negative") << "y:-1" << false << 0 << 0u;
    QTest::newRow("no axis") << "w:1" << false << 0 << 0u;
}

void TestCrossSectionImage::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, axis);
    QFETCH(quint32, index);
    int parsedAxis = -1;
    quint32 parsedIndex = 99;
    QString reason;
    QCOMPARE(CrossSectionImage::parse(text, &parsedAxis, &parsedIndex, &reason), valid);
    if (valid) {
        QCOMPARE(parsedAxis, axis);
        QCOMPARE(parsedIndex, index);
    } else {
        QVERIFY(reason.contains(text));
    }
}

void TestCrossSectionImage::planeOutsideTheVolume()
{
    TotalVolume::Ptr volume = makeVolume();
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("plane.png"));
    QString reason;
    QVERIFY(!CrossSectionImage::save(*volume, 1, 3, 1, fileName, &reason));
    QCOMPARE(reason, QStringLiteral("the volume has no layer 3 across y (it has 3)"));
    QVERIFY(!QFile::exists(fileName));
}

CELVANE_GUI_TEST_MAIN(TestCrossSectionImage)
#include "tst_crosssectionimage.moc"
