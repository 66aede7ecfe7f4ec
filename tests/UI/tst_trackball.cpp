#include "UI/trackball.h"
#include "testmain.h"

#include <cmath>

using Ui::Trackball;

namespace {
const double degrees = 180.0 / 3.14159265358979323846;
}

/// The trackball's mapping of window positions and what a drag means, worked out by hand for
/// a 400 x 200 viewport (centre at (200, 100), ball radius 200).
class TestTrackball : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void lightModeLiesOnTheSphere_data();
    void lightModeLiesOnTheSphere();
    void rotateModeStartAndMove();
    void sphereModeThroughTheStartPoint();
    void dragToTheRightTurnsAboutY();
    void dragUpTurnsAboutMinusX();
    void noMovementNoTurn();
    void panInWorldUnits();
    void deltaOfAnotherModeLeavesOut();

private:
    Trackball ball;
};

void TestTrackball::init()
{
    ball = Trackball();
    ball.setViewport(400, 200);
}

void TestTrackball::lightModeLiesOnTheSphere_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<double>("px");
    QTest::addColumn<double>("py");
    QTest::addColumn<double>("pz");
    QTest::newRow("centre") << 200 << 100 << 0.0 << 0.0 << 200.0;
    // (120, -160): 200^2 - 120^2 - 160^2 = 0.
    QTest::newRow("rim") << 320 << 260 << 120.0 << -160.0 << 0.0;
    // (60, 80): sqrt(40000 - 10000) = 173.2.
    QTest::newRow("inside") << 260 << 20 << 60.0 << 80.0 << std::sqrt(30000.0);
    QTest::newRow("outside") << 0 << 300 << -200.0 << -200.0 << 0.0;
}

void TestTrackball::lightModeLiesOnTheSphere()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(double, px);
    QFETCH(double, py);
    QFETCH(double, pz);
    ball.begin(x, y, Trackball::Light);
    double out[3] = {-1, -1, -1};
    ball.delta(out, Trackball::Light);
    QCOMPARE(out[0], px);
    QCOMPARE(out[1], py);
    QVERIFY(qAbs(out[2] - pz) < 1e-9);
}

void TestTrackball::rotateModeStartAndMove()
{
    // Start at (100, 50) from the centre: (1 - 4*100^2/400^2 - 4*50^2/200^2) * 600^2 / 4
    // = 0.5 * 90000.
    ball.begin(300, 50, Trackball::Rotate);
    QVERIFY(qAbs(ball.startPoint()[2] - std::sqrt(45000.0)) < 1e-9);
    // A later point uses the wider ellipsoid: (1 - 100^2/400^2 - 50^2/200^2) * 90000.
    ball.move(300, 50);
    QVERIFY(qAbs(ball.currentPoint()[2] - std::sqrt(0.875 * 90000.0)) < 1e-9);
    QCOMPARE(ball.previousPoint()[2], ball.startPoint()[2]);
    // The corner (-200, 100) still lies on the wider one: (1 - 1/4 - 1/4) * 90000.
    ball.move(0, 0);
    QVERIFY(qAbs(ball.currentPoint()[2] - std::sqrt(45000.0)) < 1e-9);
    // A drag beyond the widget, (-500, -300), leaves it: 0.
    ball.move(-300, 400);
    QCOMPARE(ball.currentPoint()[2], 0.0);
}

void TestTrackball::sphereModeThroughTheStartPoint()
{
    ball.begin(250, 100, Trackball::Sphere); // (50, 0)
    QCOMPARE(ball.startPoint()[2], 0.0);
    ball.move(230, 60); // (30, 40): 50^2 - 30^2 - 40^2 = 0
    QCOMPARE(ball.currentPoint()[2], 0.0);
    ball.move(210, 100); // (10, 0): sqrt(2500 - 100)
    QVERIFY(qAbs(ball.currentPoint()[2] - std::sqrt(2400.0)) < 1e-9);
}

void TestTrackball::dragToTheRightTurnsAboutY()
{
    ball.begin(200, 100, Trackball::Rotate); // centre: (0, 0, 300)
    ball.move(240, 100);                     // (40, 0, 300 * sqrt(1 - 1/100))
    double out[4];
    ball.delta(out, Trackball::Rotate);
    QVERIFY(qAbs(out[0]) < 1e-12);
    QVERIFY(qAbs(out[1] - 1.0) < 1e-12);
    QVERIFY(qAbs(out[2]) < 1e-12);
    // The angle between (0, 0, 300) and (40, 0, z).
    const double z = 300.0 * std::sqrt(0.99);
    const double expected = std::asin(40.0 * 300.0 / (300.0 * std::sqrt(1600.0 + z * z))) * degrees;
    QVERIFY(qAbs(out[3] - expected) < 1e-9);
}

void TestTrackball::dragUpTurnsAboutMinusX()
{
    ball.begin(200, 100, Trackball::Rotate);
    ball.move(200, 80); // up the screen: +y
    double out[4];
    ball.delta(out, Trackball::Rotate);
    QVERIFY(qAbs(out[0] + 1.0) < 1e-12);
    QVERIFY(qAbs(out[1]) < 1e-12);
    QVERIFY(out[3] > 0.0);
}

void TestTrackball::noMovementNoTurn()
{
    ball.begin(220, 90, Trackball::Rotate);
    ball.move(220, 90);
    ball.move(220, 90);
    double out[4] = {9, 9, 9, 9};
    ball.delta(out, Trackball::Rotate);
    QCOMPARE(out[3], 0.0);
    QVERIFY(!std::isnan(out[0]));
}

void TestTrackball::panInWorldUnits()
{
    ball.setScale(0.5); // half a world unit per pixel
    ball.begin(100, 100, Trackball::Pan);
    ball.move(110, 96);
    double out[2];
    ball.delta(out, Trackball::Pan);
    QCOMPARE(out[0], 5.0);
    QCOMPARE(out[1], 2.0); // window y grows downwards
    ball.move(110, 96);
    ball.delta(out, Trackball::Pan);
    QCOMPARE(out[0], 0.0);
}

void TestTrackball::deltaOfAnotherModeLeavesOut()
{
    ball.begin(100, 100, Trackball::Pan);
    ball.move(150, 100);
    double out[4] = {7, 7, 7, 7};
    ball.delta(out, Trackball::Rotate);
    QCOMPARE(out[0], 7.0);
    QCOMPARE(out[3], 7.0);
}

CELVANE_TEST_MAIN(TestTrackball)
#include "tst_trackball.moc"
