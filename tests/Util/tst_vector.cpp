#include "Util/vector3d.h"
#include "Util/vector4d.h"
#include "testmain.h"

class TestVector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void indexAddressesComponents_data();
    void indexAddressesComponents();
    void vector3dDropsW();
    void arithmeticIsComponentWise();
};

void TestVector::indexAddressesComponents_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("expected");
    QTest::newRow("0 is x") << 0 << 1.0;
    QTest::newRow("1 is y") << 1 << 2.0;
    QTest::newRow("2 is z") << 2 << 3.0;
    QTest::newRow("3 is w") << 3 << 4.0;
    QTest::newRow("7 is w") << 7 << 4.0;
    QTest::newRow("-1 is w") << -1 << 4.0;
}

void TestVector::indexAddressesComponents()
{
    QFETCH(int, index);
    QFETCH(double, expected);
    Util::Vector4D v(1, 2, 3, 4);
    const Util::Vector4D &c = v;
    QCOMPARE(c[index], expected);
    if (index >= 0 && index < 4)
        QCOMPARE(v.data()[index], expected); // the components lie side by side, x first
    v[index] = 10.0;
    QCOMPARE(c[index], 10.0);
}

void TestVector::vector3dDropsW()
{
    const Util::Vector3D v(Util::Vector4D(1, 2, 3, 4));
    QCOMPARE(v, Util::Vector4D(1, 2, 3, 0));
    QCOMPARE(Util::Vector3D(2.5), Util::Vector4D(2.5, 2.5, 2.5, 0.0));
    QCOMPARE(Util::Vector4D(2.5), Util::Vector4D(2.5, 2.5, 2.5, 2.5));
    Util::Vector3D assigned(1, 1, 1);
    assigned = Util::Vector4D(5, 6, 7, 8);
    QCOMPARE(assigned, Util::Vector4D(5, 6, 7, 0));
}

void TestVector::arithmeticIsComponentWise()
{
    const Util::Vector4D a(1, 2, 3, 4);
    const Util::Vector4D b(0.5, -1, 10, 1);
    QCOMPARE(a + b, Util::Vector4D(1.5, 1, 13, 5));
    QCOMPARE(a - b, Util::Vector4D(0.5, 3, -7, 3));
    QCOMPARE(2.0 * a, Util::Vector4D(2, 4, 6, 8));
    Util::Vector4D c = a;
    c += b;
    QCOMPARE(c, a + b);
    // A displacement undone by its negation lands exactly where it started.
    Util::Vector3D p(0.5, 0.25, 0.125);
    const Util::Vector3D d(1, -2, 0.5);
    p += d;
    p += -1.0 * d;
    QCOMPARE(p, Util::Vector4D(0.5, 0.25, 0.125, 0));
}

CELVANE_TEST_MAIN(TestVector)
#include "tst_vector.moc"
