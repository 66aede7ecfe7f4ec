#include "Core/Operations/Photolithography/maskimage.h"
#include "testmain.h"

#include <QBuffer>
#include <QImage>

using Core::Operations::MaskImage;

namespace {

QByteArray encode(const QImage &image, const char *format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (char byte : bytes) {
        crc ^= uchar(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

/// A 1-bit PNG whose header claims width x height pixels, with the data of an 8 x 8 image.
QByteArray claimingPng(quint32 width, quint32 height)
{
    QImage small(8, 8, QImage::Format_Mono);
    small.fill(0);
    QByteArray data = encode(small, "PNG");
    // The IHDR chunk follows the 8-byte signature: length, "IHDR", width, height, ..., CRC.
    for (int i = 0; i < 4; ++i) {
        data[16 + i] = char(width >> (24 - 8 * i));
        data[20 + i] = char(height >> (24 - 8 * i));
    }
    const quint32 crc = crc32(data.mid(12, 17));
    for (int i = 0; i < 4; ++i)
        data[29 + i] = char(crc >> (24 - 8 * i));
    return data;
}

MaskImage::Result load(const QByteArray &data, quint64 maxPixels, std::vector<bool> &bits,
                       quint32 &w, quint32 &h, QString *reason)
{
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return MaskImage::load(buffer, maxPixels, bits, w, h, reason);
}

} // namespace

class TestMaskImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodedMask_data();
    void decodedMask();
    void refused_data();
    void refused();
    void pixelLimit();
};

void TestMaskImage::decodedMask_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("png") << QByteArray("PNG");
    QTest::newRow("bmp") << QByteArray("BMP");
}

void TestMaskImage::decodedMask()
{
    QFETCH(QByteArray, format);
    // 3 x 300 pixels, more rows than one conversion band: the top-left pixel is black, the
    // bottom-right pure red, one pixel (254, 0, 0); the rest white.
    QImage image(3, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(2, 299, qRgb(255, 0, 0));
    image.setPixel(1, 150, qRgb(254, 0, 0));
    std::vector<bool> bits;
    quint32 w = 0, h = 0;
    QString reason;
    QCOMPARE(load(encode(image, format), MaskImage::pixelLimit(0), bits, w, h, &reason),
             MaskImage::Loaded);
    QCOMPARE(w, 3u);
    QCOMPARE(h, 300u);
    QCOMPARE(std::count(bits.begin(), bits.end(), true), 2);
    QVERIFY(bits[0 * 300 + 299]); // image row 0 is the largest y
    QVERIFY(bits[2 * 300 + 0]);
}

void TestMaskImage::refused_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<quint64>("maxPixels");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("reason");
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QByteArray bmp = encode(image, "BMP");
    const QByteArray png = encode(image, "PNG");
    QTest::newRow("40000 x 40000 claimed by a small file")
        << claimingPng(40000, 40000) << MaskImage::pixelLimit(0) << int(MaskImage::Refused)
        << "40000 x 40000 pixels";
    QTest::newRow("more pixels than the volume allows")
        << claimingPng(5000, 4000) << MaskImage::pixelLimit(100 * 100) << int(MaskImage::Refused)
        << "5000 x 4000 pixels";
    QTest::newRow("truncated bmp") << bmp.left(bmp.size() / 2) << MaskImage::pixelLimit(0)
                                   << int(MaskImage::Refused) << "ends before its last row";
    QTest::newRow("truncated png") << png.left(png.size() - 20) << MaskImage::pixelLimit(0)
                                   << int(MaskImage::Refused) << "damaged";
    QTest::newRow("not an image") << QByteArray("hello") << MaskImage::pixelLimit(0)
                                  << int(MaskImage::NotFound) << "not an image";
}

void TestMaskImage::refused()
{
    QFETCH(QByteArray, data);
    QFETCH(quint64, maxPixels);
    QFETCH(int, result);
    QFETCH(QString, reason);
    std::vector<bool> bits(5, true);
    quint32 w = 7, h = 9;
    QString why;
    QCOMPARE(int(load(data, maxPixels, bits, w, h, &why)), result);
    QVERIFY2(why.contains(reason), qPrintable(why));
    // Nothing of the previous mask changes.
    QCOMPARE(bits, std::vector<bool>(5, true));
    QCOMPARE(w, 7u);
    QCOMPARE(h, 9u);
}

void TestMaskImage::pixelLimit()
{
    QCOMPARE(MaskImage::pixelLimit(0), quint64(4096) * 4096);         // no volume: the floor
    QCOMPARE(MaskImage::pixelLimit(5000 * 5000), quint64(100000000)); // four footprints
    QCOMPARE(MaskImage::pixelLimit(quint64(1) << 40), quint64(16384) * 16384);
}

CELVANE_TEST_MAIN(TestMaskImage)
#include "tst_maskimage.moc"
