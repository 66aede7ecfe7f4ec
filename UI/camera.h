#ifndef CELVANE_UI_CAMERA_H
#define CELVANE_UI_CAMERA_H

#include <QMatrix4x4>

namespace Ui {

/// The 3D view's camera: an accumulated rotation, a pan in the screen plane and an offset
/// that moves the document's objects only (not the grid and the axes). Lengths are in world
/// units. The functions that say so load the result as the OpenGL model-view matrix, so the
/// view's GL context must be current when they are called.
class Camera
{
public:
    Camera();

    /// Pans by (dx, dy) along the screen's x and y, then loads the model-view.
    void applyPan(float dx, float dy);
    /// Sets the pan, then loads the model-view.
    void setPan(int x, int y);
    /// Turns the scene about a screen-space axis on top of the present rotation, then loads.
    void rotate(const float axis[3], float angleDegrees);
    /// Replaces the rotation by x, then y, then z rotations in whole degrees, then loads.
    void setRotation(int angleX, int angleY, int angleZ);
    /// Moves the objects by (dx, dy) along the screen's x and y.
    void moveScene(float dx, float dy);
    /// Identity rotation, no pan, no scene offset (nothing is loaded).
    void reset();
    /// Loads rotation and pan as the model-view matrix.
    void load() const;

    /// Rotation followed by the pan, as load() puts it into OpenGL.
    QMatrix4x4 modelView() const;
    /// The accumulated rotation, 16 floats, column-major.
    const float *getMatrix() const { return matrix; }
    float getPanX() const { return panX; }
    float getPanY() const { return panY; }
    const float *getSceneOffset() const { return sceneOffset; }

private:
    QMatrix4x4 rotation() const;
    void setMatrix(const QMatrix4x4 &m);
    /// panX times the matrix's first row plus panY times its second: the pan in world axes.
    void screenToWorld(float dx, float dy, float out[3]) const;

    float panX;
    float panY;
    float matrix[16];
    float sceneOffset[3];
};

} // namespace Ui

#endif
