#include "UI/camera.h"

#include <QVector3D>

#include <GL/gl.h>

#include <cmath>

namespace Ui {

Camera::Camera() : panX(0.0f), panY(0.0f), sceneOffset{0.0f, 0.0f, 0.0f}
{
    setMatrix(QMatrix4x4());
}

void Camera::reset()
{
    panX = panY = 0.0f;
    for (float &o : sceneOffset)
        o = 0.0f;
    setMatrix(QMatrix4x4());
}

QMatrix4x4 Camera::rotation() const
{
    return QMatrix4x4(matrix).transposed(); // QMatrix4x4(const float *) reads rows
}

void Camera::setMatrix(const QMatrix4x4 &m)
{
    const float *data = m.constData();
    for (int i = 0; i < 16; ++i)
        matrix[i] = data[i];
}

void Camera::screenToWorld(float dx, float dy, float out[3]) const
{
    for (int i = 0; i < 3; ++i)
        out[i] = dx * matrix[4 * i] + dy * matrix[4 * i + 1];
}

QMatrix4x4 Camera::modelView() const
{
    float t[3];
    screenToWorld(panX, panY, t);
    QMatrix4x4 m = rotation();
    m.translate(t[0], t[1], t[2]);
    return m;
}

void Camera::load() const
{
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView().constData());
}

void Camera::applyPan(float dx, float dy)
{
    panX += dx;
    panY += dy;
    load();
}

void Camera::setPan(int x, int y)
{
    panX = float(x);
    panY = float(y);
    load();
}

void Camera::rotate(const float axis[3], float angleDegrees)
{
    QMatrix4x4 turn;
    turn.rotate(angleDegrees, axis[0], axis[1], axis[2]);
    QMatrix4x4 m = turn * rotation();
    // Thousands of small drags multiply rounding errors into the rotation; keeping its
    // columns orthonormal stops the picture from slowly shearing.
    QVector3D x = m.column(0).toVector3D().normalized();
    QVector3D y = m.column(1).toVector3D();
    y = (y - QVector3D::dotProduct(x, y) * x).normalized();
    const QVector3D z = QVector3D::crossProduct(x, y);
    if (!std::isnan(x.x()) && !std::isnan(y.x())) {
        m.setColumn(0, QVector4D(x, 0.0f));
        m.setColumn(1, QVector4D(y, 0.0f));
        m.setColumn(2, QVector4D(z, 0.0f));
        setMatrix(m);
    }
    load();
}

void Camera::setRotation(int angleX, int angleY, int angleZ)
{
    QMatrix4x4 m;
    m.rotate(float(angleX), 1.0f, 0.0f, 0.0f);
    m.rotate(float(angleY), 0.0f, 1.0f, 0.0f);
    m.rotate(float(angleZ), 0.0f, 0.0f, 1.0f);
    setMatrix(m);
    load();
}

void Camera::moveScene(float dx, float dy)
{
    float d[3];
    screenToWorld(dx, dy, d);
    for (int i = 0; i < 3; ++i)
        sceneOffset[i] += d[i];
}

} // namespace Ui
