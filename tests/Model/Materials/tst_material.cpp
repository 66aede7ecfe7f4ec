#include "Model/Materials/material.h"
#include "testmain.h"

using Model::Materials::Material;

class TestMaterial : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaults();
    void equality_data();
    void equality();
};

void TestMaterial::defaults()
{
    const Material empty;
    QCOMPARE(empty.getId(), 0u);
    QCOMPARE(empty.getName(), QStringLiteral("Empty"));
    QCOMPARE(empty.getDensity(), 0.0f);
    const float *c = empty.getColor();
    QCOMPARE(c[0], 0.5f);
    QCOMPARE(c[1], 0.5f);
    QCOMPARE(c[2], 0.5f);
    QCOMPARE(c[3], 1.0f);
    const Material noColor(4, QStringLiteral("Al"), 2700, 7e10f, 0.14f);
    QCOMPARE(noColor.getColor()[2], 0.5f);
}

void TestMaterial::equality_data()
{
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<float>("red");
    QTest::addColumn<float>("density");
    QTest::addColumn<bool>("equal");
    // Reference: id 5, "Cu", red 0.5, density 8960.
    QTest::newRow("identical") << 5u << "Cu" << 0.5f << 8960.0f << true;
    QTest::newRow("only density differs") << 5u << "Cu" << 0.5f << 1.0f << true;
    QTest::newRow("colour within 1/256") << 5u << "Cu" << 0.5f + 0.0039f << 8960.0f << true;
    QTest::newRow("colour off by 1/128") << 5u << "Cu" << 0.5f + 0.0078125f << 8960.0f << false;
    QTest::newRow("name in other case") << 5u << "cu" << 0.5f << 8960.0f << false;
    QTest::newRow("other id") << 6u << "Cu" << 0.5f << 8960.0f << false;
}

void TestMaterial::equality()
{
    QFETCH(quint32, id);
    QFETCH(QString, name);
    QFETCH(float, red);
    QFETCH(float, density);
    QFETCH(bool, equal);
    const float refColor[4] = {0.5f, 0.8f, 0.3f, 1.0f};
    const float color[4] = {red, 0.8f, 0.3f, 1.0f};
    const Material reference(5, QStringLiteral("Cu"), 8960, 1.28e11f, 0.36f, refColor);
    const Material other(id, name, density, 5.0f, 0.1f, color);
    QCOMPARE(reference == other, equal);
    QCOMPARE(other == reference, equal);
    QCOMPARE(reference != other, !equal);
}

CELVANE_TEST_MAIN(TestMaterial)
#include "tst_material.moc"
