#include "UI/camera.h"
#include "testmain.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <GL/gl.h>

using Ui::Camera;

namespace {

bool near(const QVector3D &a, const QVector3D &b)
{
    return (a - b).length() < 1e-5f;
}

} // namespace

/// The camera's rotation, pan and scene offset, and the model-view matrix it loads.
class TestCamera : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void loadsItsMatrix();
    void panStaysInTheScreenPlane();
    void setRotationOrder();
    void rotateActsInScreenSpace();
    void moveSceneAlongTheScreen();
    void longDragsStayRigid();

private:
    QMatrix4x4 loaded() const;

    QOpenGLContext *context = nullptr;
    QOffscreenSurface *surface = nullptr;
};

void TestCamera::initTestCase()
{
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    surface = new QOffscreenSurface();
    surface->setFormat(format);
    surface->create();
    context = new QOpenGLContext();
    context->setFormat(format);
    QVERIFY(context->create());
    QVERIFY(context->makeCurrent(surface));
}

void TestCamera::cleanupTestCase()
{
    context->doneCurrent();
    delete context;
    delete surface;
}

QMatrix4x4 TestCamera::loaded() const
{
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return QMatrix4x4(m).transposed();
}

void TestCamera::loadsItsMatrix()
{
    Camera camera;
    camera.setRotation(30, -45, 60);
    QCOMPARE(loaded(), camera.modelView());
    camera.applyPan(3, 4);
    QCOMPARE(loaded(), camera.modelView());
    const float axis[3] = {1, 1, 0};
    camera.rotate(axis, 12.5f);
    QCOMPARE(loaded(), camera.modelView());
    camera.setPan(-7, 2);
    QCOMPARE(loaded(), camera.modelView());
    glLoadIdentity();
    camera.load();
    QCOMPARE(loaded(), camera.modelView());
}

void TestCamera::panStaysInTheScreenPlane()
{
    Camera camera;
    QCOMPARE(camera.modelView(), QMatrix4x4());
    camera.setRotation(-63, 17, 140);
    camera.applyPan(5, -2);
    camera.applyPan(1, 0);
    // The origin shows 6 right and 2 down of the centre, at depth 0, whatever the rotation.
    QVERIFY(near(camera.modelView().map(QVector3D(0, 0, 0)), QVector3D(6, -2, 0)));
    QCOMPARE(camera.getPanX(), 6.0f);
    QCOMPARE(camera.getPanY(), -2.0f);
    // Setting the pan replaces it.
    camera.setPan(3, -4);
    QVERIFY(near(camera.modelView().map(QVector3D(0, 0, 0)), QVector3D(3, -4, 0)));
    QCOMPARE(camera.getPanX(), 3.0f);
    QCOMPARE(camera.getPanY(), -4.0f);
}

void TestCamera::setRotationOrder()
{
    Camera camera;
    // z first, then x: world x turns to y, then to z (towards the viewer).
    camera.setRotation(90, 0, 90);
    QVERIFY(near(camera.modelView().mapVector(QVector3D(1, 0, 0)), QVector3D(0, 0, 1)));
    // A new rotation replaces the old one; the pan stays.
    camera.applyPan(2, 0);
    camera.setRotation(0, 0, 0);
    QVERIFY(near(camera.modelView().map(QVector3D(0, 0, 0)), QVector3D(2, 0, 0)));
    QVERIFY(near(camera.modelView().mapVector(QVector3D(1, 0, 0)), QVector3D(1, 0, 0)));
}

void TestCamera::rotateActsInScreenSpace()
{
    Camera camera;
    camera.setRotation(-90, 0, 0); // front: world z is screen up
    const float screenZ[3] = {0, 0, 1};
    camera.rotate(screenZ, 90.0f);
    // On screen, a quarter turn: what pointed up now points left, right now points up.
    QVERIFY(near(camera.modelView().mapVector(QVector3D(0, 0, 1)), QVector3D(-1, 0, 0)));
    QVERIFY(near(camera.modelView().mapVector(QVector3D(1, 0, 0)), QVector3D(0, 1, 0)));
}

void TestCamera::moveSceneAlongTheScreen()
{
    Camera camera;
    camera.setRotation(-90, 0, 0); // front
    camera.moveScene(10, 0);
    camera.moveScene(0, 4);
    const float *offset = camera.getSceneOffset();
    QVERIFY(qAbs(offset[0] - 10.0f) < 1e-5f);
    QVERIFY(qAbs(offset[1]) < 1e-5f);
    QVERIFY(qAbs(offset[2] - 4.0f) < 1e-5f); // screen up is world z
    // The camera itself did not move.
    QVERIFY(near(camera.modelView().map(QVector3D(0, 0, 0)), QVector3D(0, 0, 0)));
}

void TestCamera::longDragsStayRigid()
{
    Camera camera;
    const float axis[3] = {0.3f, 0.8f, 0.52f};
    for (int i = 0; i < 20000; ++i)
        camera.rotate(axis, 0.7f);
    const QMatrix4x4 m = camera.modelView();
    for (int c = 0; c < 3; ++c) {
        QVERIFY(qAbs(m.column(c).toVector3D().length() - 1.0f) < 1e-5f);
        for (int d = c + 1; d < 3; ++d)
            QVERIFY(qAbs(QVector3D::dotProduct(m.column(c).toVector3D(),
                                               m.column(d).toVector3D())) < 1e-5f);
    }
    // 20000 * 0.7 = 14000 degrees = 38 turns and 320 degrees about the same axis.
    QMatrix4x4 expected;
    expected.rotate(320.0f, axis[0], axis[1], axis[2]);
    for (int i = 0; i < 16; ++i)
        QVERIFY2(qAbs(m.constData()[i] - expected.constData()[i]) < 1e-2f,
                 qPrintable(QString::number(i)));
}

CELVANE_GUI_TEST_MAIN(TestCamera)
#include "tst_camera.moc"
