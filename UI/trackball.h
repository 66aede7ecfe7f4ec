#ifndef CELVANE_UI_TRACKBALL_H
#define CELVANE_UI_TRACKBALL_H

namespace Ui {

/// Turns mouse positions in the 3D view into rotations, pans and light directions. A window
/// position becomes a point in a frame centred on the viewport with y up; modes 2 and 3 lift it
/// onto a virtual ball so that a drag turns into a rotation axis and angle.
class Trackball
{
public:
    enum Mode
    {
        Light = 0,  ///< point on a sphere of radius max(w, h) / 2: a light direction
        Pan = 1,    ///< screen-plane movement, in world units
        Sphere = 2, ///< ball through the start point
        Rotate = 3  ///< ellipsoid fitted to the viewport
    };

    Trackball();

    /// Viewport size in pixels; the ball's radius is half the larger side.
    void setViewport(int width, int height);
    /// World size of one pixel, so that pans follow the mouse at any zoom.
    void setScale(double scale);
    double getScale() const { return scale; }

    /// Starts a drag at window position (x, y).
    void begin(int x, int y, int mode);
    /// Continues the drag: the previous point is kept, current becomes (x, y).
    void move(int x, int y);
    /// What the last move means in the given mode; out is left untouched unless mode is the
    /// mode of begin(). Rotate and Sphere: unit axis in out[0..2], angle in degrees in out[3]
    /// (out needs four values). Light: the current point. Pan: the movement in world units.
    void delta(double *out, int mode) const;

    const double *currentPoint() const { return points[current]; }
    const double *previousPoint() const { return points[1 - current]; }
    const double *startPoint() const { return start; }

private:
    void map(int x, int y, bool starting, double *out) const;

    int width;
    int height;
    double radius;
    double scale;
    int mode;
    double start[3];
    double points[2][3];
    int current;
};

} // namespace Ui

#endif
