#include "Model/Automaton/totalvolume.h"
#include "Model/layer.h"
#include "Model/palette.h"
#include "testmain.h"

using Model::Automaton::TotalVolume;

class TestObject : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void highlight_data();
    void highlight();
    void paletteSchemes_data();
    void paletteSchemes();
    void customColorWritesOnlySlotTwo();
    void colorSchemeSelection();
    void newObjectsTakeConsecutiveIds();
    void newObjectsTakeSchemeZeroColors();
    void layerFindsByPickingNumber();
};

void TestObject::highlight_data()
{
    QTest::addColumn<float>("in");
    QTest::addColumn<float>("out");
    QTest::newRow("0.7 loses 0.7") << 0.7f << 0.0f;
    QTest::newRow("0.69 gains 0.3") << 0.69f << 0.99f;
    QTest::newRow("1 loses 0.7") << 1.0f << 0.3f;
    QTest::newRow("0 gains 0.3") << 0.0f << 0.3f;
    QTest::newRow("0.5 gains 0.3") << 0.5f << 0.8f;
}

void TestObject::highlight()
{
    QFETCH(float, in);
    QFETCH(float, out);
    float rgba[4] = {in, in, in, 0.25f};
    Model::highlight(rgba);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(qAbs(rgba[i] - out) < 1e-6f, qPrintable(QString::number(rgba[i])));
    QCOMPARE(rgba[3], 0.25f);
    // The vector form follows the same rule and keeps w.
    const Util::Vector4D h = Model::highlight(Util::Vector4D(in, in, in, 0.5));
    QVERIFY(qAbs(h.x - out) < 1e-6 && qAbs(h.y - out) < 1e-6 && qAbs(h.z - out) < 1e-6);
    QCOMPARE(h.w, 0.5);
}

void TestObject::paletteSchemes_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Util::Vector4D>("scheme0");
    QTest::addColumn<Util::Vector4D>("scheme1");
    QTest::newRow("object") << 0 << "Object Color" << Util::Vector4D(0, 0, 0, 1)
                            << Util::Vector4D(1, 1, 1, 1);
    QTest::newRow("outline") << 1 << "Outline Color" << Util::Vector4D(1, 1, 1, 1)
                             << Util::Vector4D(0, 0, 0, 1);
    QTest::newRow("grid") << 2 << "Grid Color" << Util::Vector4D(0.4, 0.4, 0.4, 1)
                          << Util::Vector4D(0.4, 0.4, 0.4, 1);
    QTest::newRow("background") << 3 << "Background Color" << Util::Vector4D(0, 0, 0, 0)
                                << Util::Vector4D(1, 1, 1, 0);
    QTest::newRow("console text") << 7 << "Console Text Color" << Util::Vector4D(0, 0, 0, 1)
                                  << Util::Vector4D(1, 1, 1, 1);
    QTest::newRow("temporary") << 8 << "Object Temporary Color" << Util::Vector4D(1, 1, 1, 1)
                               << Util::Vector4D(0, 0, 0, 1);
}

void TestObject::paletteSchemes()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(Util::Vector4D, scheme0);
    QFETCH(Util::Vector4D, scheme1);
    QCOMPARE(Model::getColorName(index), name);
    QCOMPARE(Model::getColor(index, 0), scheme0);
    QCOMPARE(Model::getColor(index, 1), scheme1);
}

void TestObject::customColorWritesOnlySlotTwo()
{
    QCOMPARE(Model::getColor(Model::ObjectColor, 2), Util::Vector4D(1, 0, 0, 1));
    Model::setCustomColor(Model::ObjectColor, Util::Vector4D(0.1, 0.2, 0.3, 1));
    QCOMPARE(Model::getColor(Model::ObjectColor, 2), Util::Vector4D(0.1, 0.2, 0.3, 1));
    QCOMPARE(Model::getColor(Model::ObjectColor, 0), Util::Vector4D(0, 0, 0, 1));
    QCOMPARE(Model::getColor(Model::ObjectColor, 1), Util::Vector4D(1, 1, 1, 1));
    Model::setCustomColor(Model::ObjectColor, Util::Vector4D(1, 0, 0, 1));
}

void TestObject::colorSchemeSelection()
{
    QCOMPARE(Model::getColorScheme(), 0);
    Model::setColorScheme(2);
    QCOMPARE(Model::getColorScheme(), 2);
    Model::setColorScheme(5); // no such scheme: ignored
    QCOMPARE(Model::getColorScheme(), 2);
    Model::setColorScheme(0);
}

void TestObject::newObjectsTakeConsecutiveIds()
{
    TotalVolume::Ptr a = TotalVolume::createFilled(1, 1, 1, 1, 1, 1, Util::Vector3D(), 1);
    TotalVolume::Ptr b = TotalVolume::createFilled(1, 1, 1, 1, 1, 1, Util::Vector3D(), 1);
    QVERIFY(a && b);
    QCOMPARE(b->getId(), a->getId() + 1);
    boost::shared_ptr<Model::Object> c = a->clone();
    QVERIFY(c);
    QVERIFY(c->getId() != a->getId());
    QVERIFY(c->getId() != b->getId());
}

void TestObject::newObjectsTakeSchemeZeroColors()
{
    Model::setColorScheme(1);
    TotalVolume::Ptr v = TotalVolume::createFilled(1, 1, 1, 1, 1, 1, Util::Vector3D(), 1);
    Model::setColorScheme(0);
    QCOMPARE(v->getColor(), Util::Vector4D(0, 0, 0, 1));
    QCOMPARE(v->getOutlineColor(), Util::Vector4D(1, 1, 1, 0));
    QVERIFY(!v->isSelected());
    QVERIFY(!v->isPreview());
    QCOMPARE(v->getPreviewDisplacement(), Util::Vector4D());
}

void TestObject::layerFindsByPickingNumber()
{
    Model::Layer layer;
    TotalVolume::Ptr a = TotalVolume::createFilled(1, 1, 1, 1, 1, 1, Util::Vector3D(), 1);
    TotalVolume::Ptr b = TotalVolume::createFilled(1, 1, 1, 1, 1, 1, Util::Vector3D(), 1);
    layer.addObject(a);
    layer.addObject(b);
    bool found = false;
    QCOMPARE(layer.findObject(b->getId(), &found), Model::Layer::ObjectPtr(b));
    QVERIFY(found);
    QVERIFY(!layer.findObject(b->getId() + 100, &found));
    QVERIFY(!found);
    QVERIFY(layer.removeObject(a));
    QVERIFY(!layer.removeObject(a));
    QCOMPARE(layer.getObjects().size(), 1);
}

CELVANE_TEST_MAIN(TestObject)
#include "tst_object.moc"
