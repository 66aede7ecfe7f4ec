#include "Model/Persistence/materialarchiver.h"
#include "testmain.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

using Model::Materials::Material;
using Model::Persistence::MaterialArchiver;

namespace {

Material readOne(const QByteArray &xml, bool *ok)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd() && !reader.isStartElement())
        reader.readNext();
    return MaterialArchiver::loadMaterial(&reader, ok);
}

} // namespace

class TestMaterialArchiver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colorToText_data();
    void colorToText();
    void colorReadsBack_data();
    void colorReadsBack();
    void numberFormat_data();
    void numberFormat();
    void roundTripUnderDecimalCommaLocale();
    void missingReaderOrWrongElement();
    void colorNamesAndShortForms();
};

void TestMaterialArchiver::colorToText_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<float>("g");
    QTest::addColumn<float>("b");
    QTest::addColumn<float>("a");
    QTest::addColumn<QString>("text");
    QTest::newRow("silicon grey") << 0.5f << 0.5f << 0.5f << 1.0f << "#FF7F7F7F";
    QTest::newRow("copper") << 1.0f << 0.8f << 0.3f << 1.0f << "#FFFFCC4C";
    QTest::newRow("p-doped") << 0.67f << 0.67f << 1.0f << 1.0f << "#FFAAAAFF";
    QTest::newRow("red") << 1.0f << 0.0f << 0.0f << 1.0f << "#FFFF0000";
    QTest::newRow("alpha first") << 0.0f << 0.0f << 1.0f << 0.5f << "#7F0000FF";
    QTest::newRow("out of range is clamped") << 2.0f << -1.0f << 0.0f << 1.0f << "#FFFF0000";
}

void TestMaterialArchiver::colorToText()
{
    QFETCH(float, r);
    QFETCH(float, g);
    QFETCH(float, b);
    QFETCH(float, a);
    QFETCH(QString, text);
    const float rgba[4] = {r, g, b, a};
    QCOMPARE(MaterialArchiver::colorToText(rgba), text);
}

void TestMaterialArchiver::colorReadsBack_data()
{
    colorToText_data();
}

void TestMaterialArchiver::colorReadsBack()
{
    QFETCH(float, r);
    QFETCH(float, g);
    QFETCH(float, b);
    QFETCH(float, a);
    const float rgba[4] = {qBound(0.0f, r, 1.0f), qBound(0.0f, g, 1.0f), qBound(0.0f, b, 1.0f),
                           qBound(0.0f, a, 1.0f)};
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    QVERIFY(MaterialArchiver::saveMaterial(&writer,
                                           Material(3, QStringLiteral("M"), 1, 1, 1, rgba)));
    writer.writeEndDocument();
    bool ok = false;
    const Material back = readOne(xml, &ok);
    QVERIFY(ok);
    // Truncation to 8 bits loses less than one step.
    for (int i = 0; i < 4; ++i)
        QVERIFY2(qAbs(back.getColor()[i] - rgba[i]) <= 1.0f / 255.0f + 1e-6f, xml.constData());
    QCOMPARE(back, Material(3, QStringLiteral("M"), 1, 1, 1, rgba));
}

void TestMaterialArchiver::numberFormat_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("2329") << 2329.0f << "2329";
    QTest::newRow("1.88e11") << 1.88e11f << "1.88e+11";
    QTest::newRow("0.28") << 0.28f << "0.28";
    QTest::newRow("7e10") << 7e10f << "7e+10";
    QTest::newRow("21450") << 21450.0f << "21450";
    QTest::newRow("1e9") << 1e9f << "1e+09";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("seven digits round to six") << 1234567.0f << "1.23457e+06";
    QTest::newRow("small") << 0.0001f << "0.0001";
}

void TestMaterialArchiver::numberFormat()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(MaterialArchiver::numberToText(value), text);
}

void TestMaterialArchiver::roundTripUnderDecimalCommaLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const float rgba[4] = {0.3f, 0.5f, 0.4f, 1.0f};
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    QVERIFY(MaterialArchiver::saveMaterial(
        &writer, Material(16, QStringLiteral("Poly-Si"), 2329.5f, 1.88e11f, 0.28f, rgba)));
    writer.writeEndDocument();
    QVERIFY2(xml.contains("density=\"2329.5\""), xml.constData());
    bool ok = false;
    const Material back = readOne(xml, &ok);
    QLocale::setDefault(QLocale::c());
    QVERIFY(ok);
    QCOMPARE(back.getDensity(), 2329.5f);
    QCOMPARE(back.getPoissonRatio(), 0.28f);
    QCOMPARE(back.getYoungModulus(), 1.88e11f);
}

void TestMaterialArchiver::missingReaderOrWrongElement()
{
    bool ok = true;
    QCOMPARE(MaterialArchiver::loadMaterial(nullptr, &ok).getId(), 0u);
    QVERIFY(!ok);
    ok = true;
    const Material m = readOne("<Materiall name=\"X\" material-id=\"3\"/>", &ok);
    QVERIFY(!ok);
    QCOMPARE(m.getName(), QStringLiteral("Empty"));
    QVERIFY(!MaterialArchiver::saveMaterial(nullptr, Material()));
}

void TestMaterialArchiver::colorNamesAndShortForms()
{
    bool ok = false;
    Material m = readOne("<Material name=\"X\" material-id=\"3\" color=\"#00FF00\"/>", &ok);
    QVERIFY(ok);
    QCOMPARE(m.getColor()[1], 1.0f);
    QCOMPARE(m.getColor()[3], 1.0f);
    m = readOne("<Material name=\"X\" material-id=\"3\" color=\"blue\"/>", &ok);
    QCOMPARE(m.getColor()[2], 1.0f);
    QCOMPARE(m.getColor()[0], 0.0f);
}

CELVANE_TEST_MAIN(TestMaterialArchiver)
#include "tst_materialarchiver.moc"
