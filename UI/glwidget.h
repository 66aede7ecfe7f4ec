#ifndef CELVANE_UI_GLWIDGET_H
#define CELVANE_UI_GLWIDGET_H

#include "Model/Geometry/cellray.h"
#include "UI/camera.h"
#include "UI/trackball.h"
#include "Util/vector3d.h"

#include <QGLWidget>
#include <QImage>
#include <QStringList>

class QShortcut;

namespace Ui {

class MainWindowPresenter;

/// The 3D view: the document's objects over a background, a ground grid and axes, in an
/// orthographic projection. Mouse drags rotate, pan and light the scene, the wheel zooms, and
/// a click without movement in selection mode picks the object under the cursor; outside
/// selection mode it gives Move and Copy their base point and destination.
class GLWidget : public QGLWidget
{
    Q_OBJECT

public:
    /// The ground grid in the plane z = z, drawn over the visible extent.
    struct Grid
    {
        float minX = 0.0f;
        float minY = 0.0f;
        float maxX = 0.0f;
        float maxY = 0.0f;
        float z = 0.0f;
        float spacing = 10.0f;
        /// Overwritten from the palette before every use.
        Util::Vector3D color = Util::Vector3D(0.7, 0.7, 0.7);
    };

    /// The view is a child of window and reports to presenter.
    GLWidget(QWidget *window, MainWindowPresenter *presenter);
    ~GLWidget() override;

    /// World size of one pixel: larger shows more of the world.
    float getZoom() const { return zoom; }
    /// Stores the zoom, rebuilds the projection for the present size and repaints. Values
    /// that are not positive are ignored.
    void setZoom(float value);
    void setGridSpacing(float spacing);
    const Grid &getGrid() const { return grid; }
    Grid &getGrid() { return grid; }

    const Camera &getCamera() const { return camera; }
    const Trackball &getTrackball() const { return trackball; }
    const float *getLightPosition() const { return lightPosition; }
    float getLightDistance() const { return lightDistance; }
    bool isLighting() const { return lighting; }
    bool isRenderObjects() const { return renderObjects; }
    bool isRenderObjectEdges() const { return renderObjectEdges; }
    bool isRenderGrid() const { return renderGrid; }
    bool isSnapToGrid() const { return snapToGrid; }
    /// Frames drawn since the view was created, on screen or off.
    quint64 getFrameCount() const { return frameCount; }

    /// One warning line for each capability of the requested format that got is missing.
    static QStringList formatWarnings(const QGLFormat &got);

    /// Rotation of a named preset view ("front", "back", "left", "right", "top", "bottom");
    /// false for any other name.
    static bool presetAngles(const QString &name, int angles[3]);
    /// The rotation of the isometric view new substrates are shown in (x, y and z up to the
    /// viewer's right, back and top).
    static void isometricAngles(int angles[3]);

    /// Renders the present view off screen and returns it, without alpha: exactly what the
    /// view shows, whatever covers the window at the moment.
    QImage renderImage();

    /// The point of the world under window pixel (x, y), in the objects' coordinates: where
    /// the line of sight first meets a filled cell of a document volume, else where it meets
    /// the grid's plane. With snapping on, the point moves to the nearest grid crossing.
    /// False when the line of sight meets neither.
    bool scenePointAt(int x, int y, Util::Vector3D *point) const;
    /// Where the line of sight through pixel (x, y) crosses the horizontal plane at height,
    /// snapped like scenePointAt; where it runs parallel to that plane, scenePointAt.
    bool destinationPointAt(int x, int y, double height, Util::Vector3D *point) const;
    /// What lies under window pixel (x, y): "Volume 3, cell (12, 40, 29): Si", or empty when
    /// the line of sight meets no filled cell.
    QString describeAt(int x, int y) const;
    /// The length of the scale bar in world units (1, 2 or 5 times a power of ten, about a
    /// hundred pixels long at the present zoom) and its length in pixels.
    double scaleBarLength(int *pixels = nullptr) const;

Q_SIGNALS:
    /// The text of describeAt() for the pixel under the resting cursor, for the status bar.
    void hoverChanged(const QString &text);

public Q_SLOTS:
    void increaseTranslateX();
    void increaseTranslateY();
    void increaseTranslateZ();
    void decreaseTranslateX();
    void decreaseTranslateY();
    void decreaseTranslateZ();

    void lightingToggled(bool on);
    void renderObjectsToggled(bool on);
    void renderObjectEdgesToggled(bool on);
    void renderGridToggled(bool on);
    /// Points clicked for Move and Copy snap to the nearest grid crossing while this is on.
    void snapToGridToggled(bool on);

    void setPan(int x, int y);
    void setRotation(int angleX, int angleY, int angleZ);
    /// Keeps the rotation and sets zoom and pan so that every object of the document fits in
    /// the view with a margin; an empty document changes nothing.
    void fitToScene();
    /// The view of a fresh start: the isometric rotation, no pan, no scene offset, zoom 1.
    void resetView();
    /// Describes again what lies under the resting cursor, after the cells or the view
    /// changed beneath it. Nothing happens while the cursor is outside the view or a modal
    /// window (a running step's progress) is open: the cells may be in a step's hands.
    void refreshHover();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void checkFormat();
    /// Sets zoom and pan for fitToScene(); false when there is nothing to frame.
    bool frameScene();
    /// Orthographic projection of the present size and zoom, deep enough for the scene.
    void applyProjection();
    /// Half the depth of the projection: enough for the visible extent and for every object,
    /// so zooming in never cuts into a volume.
    double projectionDepth() const;
    void updateGridExtent();
    void drawGrid();
    void drawAxes();
    /// The x, y and z labels at the axes' tips and the scale bar in a corner.
    void drawOrientation();
    /// The objects' model-view: the camera followed by the scene offset.
    void loadSceneMatrix();
    void lightFromTrackball();
    void panBy(float dx, float dy);
    /// Hands a clicked point to a Move or Copy waiting for one; false when none waits.
    bool placeClickedPoint(int x, int y);
    /// The line of sight through window pixel (x, y), in the objects' coordinates.
    Model::Geometry::CellRay lineOfSight(int x, int y) const;
    /// The cell volume whose filled cells the ray meets first, with where (t along the ray and
    /// the point); null, t and hit untouched, when it meets none.
    Model::Automaton::TotalVolume *nearestFilledHit(const Model::Geometry::CellRay &ray, double *t,
                                                    Util::Vector3D *hit) const;
    /// Moves a point to the nearest grid crossing when snapping is on.
    void snapPoint(Util::Vector3D *point) const;

    float zoom;
    bool lighting;
    bool renderObjects;
    bool renderObjectEdges;
    bool renderGrid;
    bool snapToGrid;
    Grid grid;
    MainWindowPresenter *presenter;
    Camera camera;
    Trackball trackball;
    bool mouseDown;
    bool clickPending;
    /// The last cursor position over the view without a button held, in device pixels.
    QPoint hoverPoint;
    bool hovering;
    float lightPosition[4];
    float lightDistance;
    int viewportWidth;
    int viewportHeight;
    bool initialized;
    quint64 frameCount;
    /// The document had no objects at the last frame: the first ones are framed isometrically.
    bool sceneWasEmpty;
    QShortcut *shortcuts[6];
    /// The base point of Move or Copy as last clicked.
    Util::Vector3D clickedBase;
};

} // namespace Ui

#endif
