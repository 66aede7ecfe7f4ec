#include "UI/glwidget.h"

#include "Core/Operations/document.h"
#include "Core/Operations/operation.h"
#include "Core/Operations/pickstate.h"
#include "Core/Operations/selection.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Automaton/voxel.h"
#include "Model/Geometry/cellray.h"
#include "Model/Materials/materialfactory.h"
#include "Model/palette.h"
#include "UI/mainwindowpresenter.h"

#include <QApplication>
#include <QDebug>
#include <QFontMetrics>
#include <QGLFramebufferObject>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace Ui {

namespace {

/// Pixels (at zoom 1) panned by one press of Q, W, A or S.
const float keyStep = 5.0f;
/// Wheel angle units per notch (eighths of a degree) times ten: one notch gives a factor 1.1.
const double wheelDivisor = 1200.0;

/// The factor by which a wheel turn of angle eighths of a degree magnifies the picture.
double wheelFactor(int angle)
{
    return angle >= 1 ? 1.0 + angle / wheelDivisor : 1.0 / (1.0 - angle / wheelDivisor);
}

QGLFormat requestedFormat()
{
    QGLFormat format;
    format.setDoubleBuffer(true);
    format.setDepth(true);
    format.setRgba(true);
    format.setAlpha(true);
    format.setDirectRendering(true);
    format.setAccum(false);
    format.setStencil(false);
    format.setStereo(false);
    format.setOverlay(false);
    format.setSampleBuffers(false);
    return format;
}

} // namespace

GLWidget::GLWidget(QWidget *window, MainWindowPresenter *presenter)
    : QGLWidget(requestedFormat(), window), zoom(1.0f), lighting(true), renderObjects(true),
      renderObjectEdges(false), renderGrid(false), snapToGrid(false), presenter(presenter),
      mouseDown(false), clickPending(false),
      hovering(false), lightPosition{0.0f, 0.0f, 300.0f, 1.0f}, lightDistance(300.0f),
      viewportWidth(1), viewportHeight(1), initialized(false), frameCount(0), sceneWasEmpty(true)
{
    checkFormat();
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    // Shortcuts of the view's window rather than application-wide ones: every open document
    // has a view of its own, and one key registered twice application-wide fires in neither.
    typedef void (GLWidget::*Slot)();
    const struct
    {
        Qt::Key key;
        Slot slot;
    } keys[6] = {
        {Qt::Key_Q, &GLWidget::increaseTranslateX}, {Qt::Key_W, &GLWidget::increaseTranslateY},
        {Qt::Key_E, &GLWidget::increaseTranslateZ}, {Qt::Key_A, &GLWidget::decreaseTranslateX},
        {Qt::Key_S, &GLWidget::decreaseTranslateY}, {Qt::Key_D, &GLWidget::decreaseTranslateZ}};
    for (int i = 0; i < 6; ++i) {
        shortcuts[i] = new QShortcut(QKeySequence(keys[i].key), this);
        shortcuts[i]->setContext(Qt::WindowShortcut);
        connect(shortcuts[i], &QShortcut::activated, this, keys[i].slot);
    }
}

GLWidget::~GLWidget() = default;

QStringList GLWidget::formatWarnings(const QGLFormat &got)
{
    QStringList warnings;
    const QString suffix = QStringLiteral("; results will be suboptimal");
    if (!got.doubleBuffer())
        warnings << QStringLiteral("Could not get double buffer") + suffix;
    if (!got.alpha())
        warnings << QStringLiteral("Could not get alpha channel") + suffix;
    if (!got.depth())
        warnings << QStringLiteral("Could not get depth buffer") + suffix;
    if (!got.rgba())
        warnings << QStringLiteral("Could not get rgba mode") + suffix;
    if (!got.directRendering())
        warnings << QStringLiteral("Could not get direct rendering") + suffix;
    return warnings;
}

void GLWidget::checkFormat()
{
    for (const QString &warning : formatWarnings(format()))
        qWarning().noquote() << warning;
}

void GLWidget::initializeGL()
{
    initialized = true;
    glShadeModel(GL_SMOOTH);
    // Blending itself is switched on only by the painters' translucent pass.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);

    const GLfloat ambient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat diffuse[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glEnable(GL_LIGHT0);

    // The light sits at the viewer, so every face turned to the viewer catches the full
    // highlight: a strong sheen would render all of them white whatever their material. A
    // faint one keeps the material colours recognisable in the straight views.
    const GLfloat materialSpecular[4] = {0.1f, 0.1f, 0.1f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, materialSpecular);
    glMaterialf(GL_FRONT, GL_SHININESS, 64.0f);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

void GLWidget::resizeGL(int width, int height)
{
    viewportWidth = std::max(1, width);
    viewportHeight = std::max(1, height);
    glViewport(0, 0, viewportWidth, viewportHeight);
    trackball.setScale(zoom);
    trackball.setViewport(viewportWidth, viewportHeight);
    applyProjection();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    updateGridExtent();
}

double GLWidget::projectionDepth() const
{
    const int diagonal = int(std::sqrt(2.0) * std::max(viewportWidth, viewportHeight));
    double depth = zoom * diagonal / 2.0;
    if (!presenter)
        return depth;
    // The camera only rotates about the origin and pans across the screen, so a point's
    // distance from the origin bounds its depth.
    const float *offset = camera.getSceneOffset();
    for (const Core::Operations::Document::ObjectPtr &object :
         presenter->getDocument().getObjects()) {
        Util::Vector3D corners[2];
        if (!object->getBounds(corners[0], corners[1]))
            continue;
        if (object->isPreview())
            for (Util::Vector3D &corner : corners)
                corner += object->getPreviewDisplacement();
        for (int corner = 0; corner < 8; ++corner) {
            double squared = 0.0;
            for (int axis = 0; axis < 3; ++axis) {
                const double c = corners[(corner >> axis) & 1][axis] + offset[axis];
                squared += c * c;
            }
            // A corner that is not finite cannot be drawn; it must not take the others with it.
            if (std::isfinite(squared))
                depth = std::max(depth, std::sqrt(squared));
        }
    }
    // Room for the masks drawn five cells beyond a volume and for rounding; bounded, so that an
    // object far away (it cannot be farther than the coordinate limit) keeps the depth range
    // finite for all others.
    const double bound = 4.0 * Model::Object::coordinateLimit;
    return std::min(depth * 1.05 + 10.0, bound);
}

void GLWidget::applyProjection()
{
    const double halfWidth = zoom * viewportWidth / 2.0;
    const double halfHeight = zoom * viewportHeight / 2.0;
    const double depth = projectionDepth();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfWidth, halfWidth, -halfHeight, halfHeight, -depth, depth);
    glMatrixMode(GL_MODELVIEW);
}

void GLWidget::updateGridExtent()
{
    // Centred below the middle of the screen, so a panned view still shows a full grid.
    bool invertible = false;
    const QVector3D centre = camera.modelView().inverted(&invertible).map(QVector3D());
    const float cx = invertible ? centre.x() : 0.0f;
    const float cy = invertible ? centre.y() : 0.0f;
    grid.minX = cx - zoom * viewportWidth / 2.0f;
    grid.maxX = cx + zoom * viewportWidth / 2.0f;
    grid.minY = cy - zoom * viewportHeight / 2.0f;
    grid.maxY = cy + zoom * viewportHeight / 2.0f;
}

void GLWidget::paintGL()
{
    ++frameCount;
    // The first objects of an empty scene (a new substrate, an opened document) would
    // otherwise show at one pixel per unit, wherever they lie: frame them isometrically.
    const bool empty = !presenter || presenter->getDocument().getObjects().isEmpty();
    if (sceneWasEmpty && !empty) {
        int angles[3];
        isometricAngles(angles);
        camera.setRotation(angles[0], angles[1], angles[2]);
        frameScene();
        // Framing makes the context current again, which sets the viewport to the native
        // window; a view that was never shown (the command line's) has a tiny one.
        glViewport(0, 0, viewportWidth, viewportHeight);
    }
    sceneWasEmpty = empty;
    applyProjection();
    const Util::Vector4D background =
        Model::getColor(Model::BackgroundColor, Model::getColorScheme());
    glClearColor(GLfloat(background.x), GLfloat(background.y), GLfloat(background.z), 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    if (lighting) {
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
    } else {
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
    }
    // The light is fixed relative to the viewer.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);

    camera.load();
    if (renderGrid) {
        updateGridExtent();
        glDepthMask(GL_FALSE);
        drawGrid();
        glDepthMask(GL_TRUE);
    }
    drawAxes();

    if (presenter) {
        const float *offset = camera.getSceneOffset();
        glTranslatef(offset[0], offset[1], offset[2]);
        presenter->getDocument().draw(renderObjects, renderObjectEdges);
        glTranslatef(-offset[0], -offset[1], -offset[2]);
    }
    drawOrientation();

    // The window has an alpha channel: a compositing window manager would let the desktop
    // show through wherever alpha is below 1 (the background, translucent films). The
    // picture is opaque, so alpha is set to 1 everywhere once it is drawn.
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
}

void GLWidget::drawGrid()
{
    const float s = grid.spacing;
    if (!(s > 0.0f))
        return;
    const Util::Vector4D color = Model::getColor(Model::GridColor, Model::getColorScheme());
    grid.color = Util::Vector3D(color);
    const double x0 = std::floor(grid.minX / s) * s;
    const double y0 = std::floor(grid.minY / s) * s;
    const double x1 = std::ceil(grid.maxX / s) * s;
    const double y1 = std::ceil(grid.maxY / s) * s;
    const long n = long(std::ceil((grid.maxX - grid.minX) / s));
    const long m = long(std::ceil((grid.maxY - grid.minY) / s));
    // A tiny spacing on a huge view would mean millions of lines; the picture would be a grey
    // sheet anyway.
    if (n > 100000 || m > 100000)
        return;
    glPushAttrib(GL_LIGHTING_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glColor3dv(grid.color.data());
    glBegin(GL_LINES);
    for (long i = 0; i <= n; ++i) {
        glVertex3d(x0 + i * s, y0, grid.z);
        glVertex3d(x0 + i * s, y1, grid.z);
    }
    for (long j = 0; j <= m; ++j) {
        glVertex3d(x0, y0 + j * s, grid.z);
        glVertex3d(x1, y0 + j * s, grid.z);
    }
    glEnd();
    glPopAttrib();
}

void GLWidget::drawAxes()
{
    const float l = 0.3f * std::min(width(), height()) * zoom;
    glPushAttrib(GL_LIGHTING_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(l, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(l, 0.0f, 0.0f);
    glVertex3f(0.9f * l, 0.0f, 0.1f * l);
    glVertex3f(l, 0.0f, 0.0f);
    glVertex3f(0.9f * l, 0.0f, -0.1f * l);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, l, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, l, 0.0f);
    glVertex3f(0.0f, 0.9f * l, 0.1f * l);
    glVertex3f(0.0f, l, 0.0f);
    glVertex3f(0.0f, 0.9f * l, -0.1f * l);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, l);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, l);
    glVertex3f(0.0f, 0.1f * l, 0.9f * l);
    glVertex3f(0.0f, 0.0f, l);
    glVertex3f(0.0f, -0.1f * l, 0.9f * l);
    glEnd();
    glLineWidth(1.0f);
    glPopAttrib();
}

double GLWidget::scaleBarLength(int *pixels) const
{
    // About a hundred pixels, rounded down to 1, 2 or 5 times a power of ten.
    const double target = 100.0 * zoom;
    const double power = std::pow(10.0, std::floor(std::log10(target)));
    double length = power;
    for (double step : {2.0, 5.0, 10.0})
        if (step * power <= target)
            length = step * power;
    if (pixels)
        *pixels = int(std::lround(length / zoom));
    return length;
}

namespace {

/// Draws text with its lower left corner at window pixel (x, y) (counted from the bottom), in
/// the current pixel projection. The text is rasterised by Qt and put down as pixels, which
/// reaches the screen and off-screen frame buffers alike.
void drawLabel(float x, float y, const QString &text, const QColor &color)
{
    QFont font;
    font.setPixelSize(13);
    const QFontMetrics metrics(font);
    const QSize size(metrics.horizontalAdvance(text) + 2, metrics.height());
    QImage image(size, QImage::Format_RGBA8888);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignLeft | Qt::AlignBottom, text);
    }
    image = image.mirrored(); // OpenGL rows run from the bottom up
    glEnable(GL_BLEND);
    glRasterPos2f(x, y);
    glDrawPixels(image.width(), image.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.constBits());
}

} // namespace

void GLWidget::drawOrientation()
{
    // Where the axes' tips fall on the window, before the pixel projection replaces the view's.
    const float l = 0.3f * std::min(width(), height()) * zoom;
    GLdouble modelViewData[16], projectionData[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelViewData);
    glGetDoublev(GL_PROJECTION_MATRIX, projectionData);
    QMatrix4x4 toClip, modelView;
    for (int i = 0; i < 16; ++i) {
        toClip.data()[i] = float(projectionData[i]);
        modelView.data()[i] = float(modelViewData[i]);
    }
    toClip *= modelView;
    const auto windowPoint = [&](const QVector3D &p) {
        const QVector3D ndc = toClip.map(p);
        return QPointF((ndc.x() + 1.0) / 2.0 * viewportWidth,
                       (ndc.y() + 1.0) / 2.0 * viewportHeight);
    };
    const float tip = 1.08f * l;

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST); // the labels stay readable in front of the volumes
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, viewportWidth, 0.0, viewportHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const struct
    {
        QVector3D at;
        const char *name;
        QColor color;
    } axes[3] = {{QVector3D(tip, 0, 0), "x", QColor(255, 60, 60)},
                 {QVector3D(0, tip, 0), "y", QColor(60, 220, 60)},
                 {QVector3D(0, 0, tip), "z", QColor(90, 140, 255)}};
    for (const auto &axis : axes) {
        const QPointF p = windowPoint(axis.at);
        drawLabel(float(p.x()) - 4.0f, float(p.y()) - 6.0f, QLatin1String(axis.name), axis.color);
    }

    // The scale bar in the lower left corner.
    int pixels = 0;
    const double length = scaleBarLength(&pixels);
    const Util::Vector4D background =
        Model::getColor(Model::BackgroundColor, Model::getColorScheme());
    // Dark on a light background, light on a dark one.
    const float ink = (background.x + background.y + background.z) / 3.0 > 0.5 ? 0.1f : 0.9f;
    glColor3f(ink, ink, ink);
    const float x0 = 20.0f, y0 = 20.0f, x1 = x0 + float(pixels);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x0, y0 - 5.0f);
    glVertex2f(x0, y0 + 5.0f);
    glVertex2f(x1, y0 - 5.0f);
    glVertex2f(x1, y0 + 5.0f);
    glEnd();
    drawLabel(x0, y0 + 6.0f, QStringLiteral("%1 cell units").arg(length, 0, 'g', 6),
              QColor::fromRgbF(ink, ink, ink));

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

Model::Automaton::TotalVolume *GLWidget::nearestFilledHit(const Model::Geometry::CellRay &ray,
                                                          double *t, Util::Vector3D *hit) const
{
    if (!presenter)
        return nullptr;
    Model::Automaton::TotalVolume *nearestVolume = nullptr;
    double nearest = std::numeric_limits<double>::infinity();
    for (const Core::Operations::Document::ObjectPtr &object :
         presenter->getDocument().getObjects()) {
        Model::Automaton::TotalVolume *volume =
            dynamic_cast<Model::Automaton::TotalVolume *>(object.get());
        double along = 0.0;
        Util::Vector3D point;
        if (volume && ray.hitFilledCell(*volume, &along, &point) && along < nearest) {
            nearest = along;
            nearestVolume = volume;
            *t = along;
            *hit = point;
        }
    }
    return nearestVolume;
}

QString GLWidget::describeAt(int x, int y) const
{
    const Model::Geometry::CellRay ray = lineOfSight(x, y);
    double t = 0.0;
    Util::Vector3D hit;
    Model::Automaton::TotalVolume *volume = nearestFilledHit(ray, &t, &hit);
    if (!volume)
        return QString();
    // The hit lies on the face of the cell: a step along the line of sight is inside it.
    const float sizes[3] = {volume->getCellSizeX(), volume->getCellSizeY(), volume->getCellSizeZ()};
    const quint32 counts[3] = {volume->getCellsX(), volume->getCellsY(), volume->getCellsZ()};
    const Util::Vector3D inside =
        ray.pointAt(t + 0.01 * std::min(sizes[0], std::min(sizes[1], sizes[2])));
    const Util::Vector3D origin = volume->getPosition();
    quint32 cell[3];
    for (int axis = 0; axis < 3; ++axis) {
        const double c = std::floor((inside[axis] - origin[axis]) / sizes[axis]);
        cell[axis] = quint32(std::max(0.0, std::min(c, double(counts[axis]) - 1.0)));
    }
    const Model::Automaton::Voxel *cells = volume->lockCells();
    const quint32 id = cells[volume->getCellIndex(cell[0], cell[1], cell[2])].getMaterial();
    volume->releaseCells();
    return QStringLiteral("Volume %1, cell (%2, %3, %4): %5")
        .arg(volume->getId())
        .arg(cell[0])
        .arg(cell[1])
        .arg(cell[2])
        .arg(Model::Materials::MaterialFactory::instance()->getMaterial(id).getName());
}

void GLWidget::loadSceneMatrix()
{
    camera.load();
    const float *offset = camera.getSceneOffset();
    glTranslatef(offset[0], offset[1], offset[2]);
}

void GLWidget::setZoom(float value)
{
    if (!(value > 0.0f) || !std::isfinite(value))
        return;
    zoom = value;
    makeCurrent();
    resizeGL(viewportWidth, viewportHeight);
    updateGL();
}

void GLWidget::setGridSpacing(float spacing)
{
    grid.spacing = std::max(0.0f, spacing);
    updateGL();
}

bool GLWidget::presetAngles(const QString &name, int angles[3])
{
    static const struct
    {
        const char *name;
        int angles[3];
    } presets[] = {{"front", {-90, 0, 0}},   {"back", {-90, 0, 180}}, {"left", {-90, 0, 90}},
                   {"right", {-90, 0, -90}}, {"top", {0, 0, 0}},      {"bottom", {180, 0, 0}}};
    for (const auto &preset : presets) {
        if (name == QLatin1String(preset.name)) {
            for (int i = 0; i < 3; ++i)
                angles[i] = preset.angles[i];
            return true;
        }
    }
    return false;
}

void GLWidget::isometricAngles(int angles[3])
{
    angles[0] = -55; // tilted so that the top faces show
    angles[1] = 0;
    angles[2] = -45;
}

void GLWidget::resetView()
{
    makeCurrent();
    int angles[3];
    isometricAngles(angles);
    camera.reset();
    camera.setRotation(angles[0], angles[1], angles[2]);
    zoom = 1.0f;
    resizeGL(viewportWidth, viewportHeight);
    updateGL();
}

void GLWidget::fitToScene()
{
    if (!frameScene())
        return;
    makeCurrent();
    resizeGL(viewportWidth, viewportHeight);
    updateGL();
}

bool GLWidget::frameScene()
{
    if (!presenter)
        return false;
    // The objects' corners in eye space without the pan: eye = rotation * (p + offset) + pan.
    const QMatrix4x4 modelView = camera.modelView();
    const QVector3D pan(camera.getPanX(), camera.getPanY(), 0.0f);
    const float *offset = camera.getSceneOffset();
    double low[2] = {std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::infinity()};
    double high[2] = {-low[0], -low[1]};
    for (const Core::Operations::Document::ObjectPtr &object :
         presenter->getDocument().getObjects()) {
        Util::Vector3D corners[2];
        if (!object->getBounds(corners[0], corners[1]))
            continue;
        for (int corner = 0; corner < 8; ++corner) {
            const QVector3D p(float(corners[corner & 1].x + offset[0]),
                              float(corners[(corner >> 1) & 1].y + offset[1]),
                              float(corners[(corner >> 2) & 1].z + offset[2]));
            const QVector3D eye = modelView.map(p) - pan;
            if (!std::isfinite(eye.x()) || !std::isfinite(eye.y()))
                continue;
            low[0] = std::min(low[0], double(eye.x()));
            high[0] = std::max(high[0], double(eye.x()));
            low[1] = std::min(low[1], double(eye.y()));
            high[1] = std::max(high[1], double(eye.y()));
        }
    }
    if (!(low[0] <= high[0]) || !(low[1] <= high[1]))
        return false;
    // A tenth of the view stays free on every side.
    const double margin = 1.25;
    const double fit =
        std::max((high[0] - low[0]) / viewportWidth, (high[1] - low[1]) / viewportHeight) * margin;
    if (fit > 0.0 && std::isfinite(fit))
        zoom = float(fit);
    makeCurrent();
    camera.applyPan(float(-(low[0] + high[0]) / 2.0) - camera.getPanX(),
                    float(-(low[1] + high[1]) / 2.0) - camera.getPanY());
    trackball.setScale(zoom);
    return true;
}

QImage GLWidget::renderImage()
{
    if (!isValid())
        return QImage();
    makeCurrent();
    // A view that was never shown has not set up its context yet.
    if (!initialized)
        initializeGL();
    // A hidden view gets no resize calls: take its present size.
    if (!initialized || viewportWidth != std::max(1, width()) ||
        viewportHeight != std::max(1, height()))
        resizeGL(width(), height());
    const int w = viewportWidth, h = viewportHeight;
    QImage image(w, h, QImage::Format_RGBX8888);
    std::unique_ptr<QGLFramebufferObject> target;
    if (QGLFramebufferObject::hasOpenGLFramebufferObjects()) {
        QGLFramebufferObjectFormat fboFormat;
        fboFormat.setAttachment(QGLFramebufferObject::CombinedDepthStencil);
        target.reset(new QGLFramebufferObject(w, h, fboFormat));
        if (!target->isValid() || !target->bind())
            target.reset();
    }
    glViewport(0, 0, w, h);
    paintGL();
    glFinish();
    // Without an off-screen target the back buffer holds the new frame until the next swap.
    if (!target)
        glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    if (target)
        target->release();
    // The clear colour's alpha is 0: the picture is opaque, so alpha is not kept.
    return image.mirrored().convertToFormat(QImage::Format_RGB32);
}

void GLWidget::panBy(float dx, float dy)
{
    makeCurrent();
    camera.applyPan(dx, dy);
    updateGL();
}

void GLWidget::increaseTranslateX()
{
    panBy(keyStep, 0.0f);
}

void GLWidget::increaseTranslateY()
{
    panBy(0.0f, keyStep);
}

void GLWidget::increaseTranslateZ()
{
    // The pan has no depth: in an orthographic view a step along the viewing direction
    // shows nothing, so this only repaints.
    updateGL();
}

void GLWidget::decreaseTranslateX()
{
    panBy(-keyStep, 0.0f);
}

void GLWidget::decreaseTranslateY()
{
    panBy(0.0f, -keyStep);
}

void GLWidget::decreaseTranslateZ()
{
    updateGL();
}

void GLWidget::lightingToggled(bool on)
{
    lighting = on;
    updateGL();
}

void GLWidget::renderObjectsToggled(bool on)
{
    renderObjects = on;
    updateGL();
}

void GLWidget::renderObjectEdgesToggled(bool on)
{
    renderObjectEdges = on;
    updateGL();
}

void GLWidget::renderGridToggled(bool on)
{
    renderGrid = on;
    updateGL();
}

void GLWidget::snapToGridToggled(bool on)
{
    snapToGrid = on;
    updateGL();
}

void GLWidget::setPan(int x, int y)
{
    makeCurrent();
    camera.setPan(x, y);
    updateGL();
}

void GLWidget::setRotation(int angleX, int angleY, int angleZ)
{
    makeCurrent();
    camera.setRotation(angleX, angleY, angleZ);
    updateGL();
}

void GLWidget::lightFromTrackball()
{
    double point[3] = {0.0, 0.0, 0.0};
    trackball.delta(point, Trackball::Light);
    const double norm = std::sqrt(point[0] * point[0] + point[1] * point[1] + point[2] * point[2]);
    if (norm == 0.0)
        return;
    for (int i = 0; i < 3; ++i)
        lightPosition[i] = float(point[i] / norm * lightDistance);
}

void GLWidget::mousePressEvent(QMouseEvent *event)
{
    mouseDown = true;
    clickPending = false;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const int x = event->x(), y = event->y();
    if (event->buttons() == Qt::RightButton) {
        trackball.begin(x, y, Trackball::Pan);
    } else if (event->buttons() == Qt::LeftButton && !shift) {
        clickPending = true;
        trackball.begin(x, y, Trackball::Rotate);
    } else if (event->buttons() == Qt::LeftButton && shift) {
        trackball.begin(x, y, Trackball::Light);
        lightFromTrackball();
    }
    event->accept();
    update();
}

void GLWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!mouseDown) {
        const qreal ratio = devicePixelRatioF();
        hoverPoint = QPoint(int(event->x() * ratio), int(event->y() * ratio));
        hovering = true;
        refreshHover();
        event->ignore();
        return;
    }
    clickPending = false;
    trackball.move(event->x(), event->y());
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    double d[4] = {0.0, 0.0, 0.0, 0.0};
    makeCurrent();
    if (event->buttons() == Qt::RightButton && !shift) {
        trackball.delta(d, Trackball::Pan);
        camera.applyPan(float(d[0]), float(d[1]));
    } else if (event->buttons() == Qt::LeftButton && !shift) {
        trackball.delta(d, Trackball::Rotate);
        const float axis[3] = {float(d[0]), float(d[1]), float(d[2])};
        if (d[3] != 0.0)
            camera.rotate(axis, float(2.0 * d[3]));
    } else if (event->buttons() == Qt::LeftButton && shift) {
        lightFromTrackball();
    } else if (event->buttons() == Qt::RightButton && shift) {
        trackball.delta(d, Trackball::Pan);
        camera.moveScene(float(d[0]), float(d[1]));
    }
    event->accept();
    update();
}

void GLWidget::refreshHover()
{
    if (hovering && !QApplication::activeModalWidget())
        Q_EMIT hoverChanged(describeAt(hoverPoint.x(), hoverPoint.y()));
}

void GLWidget::leaveEvent(QEvent *event)
{
    // Nothing of the view lies under a cursor outside it.
    hovering = false;
    Q_EMIT hoverChanged(QString());
    QGLWidget::leaveEvent(event);
}

void GLWidget::mouseReleaseEvent(QMouseEvent *event)
{
    mouseDown = false;
    const bool click = clickPending;
    clickPending = false;
    event->accept();
    const qreal ratio = devicePixelRatioF();
    const int x = int(event->x() * ratio);
    const int y = int(event->y() * ratio);
    if (click && presenter && presenter->getSelection().isSelectionMode()) {
        makeCurrent();
        glViewport(0, 0, viewportWidth, viewportHeight);
        applyProjection();
        loadSceneMatrix();
        if (presenter->getSelection().pickAt(x, y))
            updateGL();
        return;
    }
    if (click && placeClickedPoint(x, y)) {
        updateGL();
        return;
    }
    // A drag turned or moved the scene under the cursor.
    hoverPoint = QPoint(x, y);
    hovering = true;
    refreshHover();
    update();
}

Model::Geometry::CellRay GLWidget::lineOfSight(int x, int y) const
{
    const float *offset = camera.getSceneOffset();
    QMatrix4x4 scene = camera.modelView();
    scene.translate(offset[0], offset[1], offset[2]);
    // The camera only rotates and translates, so the inverse always exists.
    const QMatrix4x4 toScene = scene.inverted();
    // The projection is orthographic: every line of sight runs along the eye's -z, starting
    // at the front of the view volume.
    const QVector3D eye(float((x - viewportWidth / 2.0) * zoom),
                        float((viewportHeight / 2.0 - y) * zoom), float(projectionDepth()));
    const QVector3D from = toScene.map(eye);
    const QVector3D along = toScene.mapVector(QVector3D(0.0f, 0.0f, -1.0f));
    return Model::Geometry::CellRay(Util::Vector3D(from.x(), from.y(), from.z()),
                                    Util::Vector3D(along.x(), along.y(), along.z()));
}

void GLWidget::snapPoint(Util::Vector3D *point) const
{
    if (!snapToGrid || !(grid.spacing > 0.0f))
        return;
    // The grid is drawn without the scene offset: snap in its frame.
    const float *offset = camera.getSceneOffset();
    const double s = grid.spacing;
    for (int axis = 0; axis < 3; ++axis)
        (*point)[axis] = std::round(((*point)[axis] + offset[axis]) / s) * s - offset[axis];
}

bool GLWidget::scenePointAt(int x, int y, Util::Vector3D *point) const
{
    const Model::Geometry::CellRay ray = lineOfSight(x, y);
    double nearest = 0.0;
    bool found = nearestFilledHit(ray, &nearest, point) != nullptr;
    // The grid is drawn without the scene offset: its plane, in the objects' coordinates.
    if (!found)
        found = ray.hitPlaneZ(grid.z - camera.getSceneOffset()[2], &nearest, point);
    if (found)
        snapPoint(point);
    return found;
}

bool GLWidget::destinationPointAt(int x, int y, double height, Util::Vector3D *point) const
{
    double t = 0.0;
    if (lineOfSight(x, y).hitPlaneZ(height, &t, point)) {
        snapPoint(point);
        return true;
    }
    // Seen edge-on the plane gives no point: take what the line of sight meets.
    return scenePointAt(x, y, point);
}

bool GLWidget::placeClickedPoint(int x, int y)
{
    if (!presenter)
        return false;
    Core::Operations::PickState &pick = presenter->getWorkspace().getPickState();
    Core::Operations::Operation *waiting = pick.getWaitingOperation();
    Util::Vector3D *target = pick.getPointToFill();
    quint32 *pickMode = pick.getPickMode();
    if (!waiting || !target || !pickMode || *pickMode == 0)
        return false;
    // With a base point published this click is the destination, the last one. Objects move
    // level with the clicked base, as across a table, whatever lies under the cursor.
    const bool destination = pick.getBasePoint() != nullptr;
    Util::Vector3D clicked;
    if (destination ? !destinationPointAt(x, y, clickedBase.z, &clicked)
                    : !scenePointAt(x, y, &clicked))
        return false;
    *target = clicked;
    if (destination)
        *pickMode = 0;
    else
        clickedBase = clicked;
    waiting->execute();
    return true;
}

void GLWidget::wheelEvent(QWheelEvent *event)
{
    const int angle = event->angleDelta().y();
    if (angle == 0) {
        event->ignore();
        return;
    }
    const double f = wheelFactor(angle);
    if (event->modifiers() & Qt::ShiftModifier) {
        for (int i = 0; i < 3; ++i)
            lightPosition[i] = float(lightPosition[i] * f);
        lightDistance = float(lightDistance * f);
    } else {
        // Magnifying by f makes a pixel cover 1/f of the world it covered. The point under the
        // cursor stays where it is: the pan takes up the change of its eye coordinates.
        const float before = zoom;
        zoom = float(zoom / f);
        trackball.setScale(zoom);
        makeCurrent();
        const QPointF at = event->position() * devicePixelRatioF();
        camera.applyPan(float((at.x() - viewportWidth / 2.0) * (zoom - before)),
                        float((viewportHeight / 2.0 - at.y()) * (zoom - before)));
        applyProjection();
        updateGridExtent();
        refreshHover();
    }
    event->accept();
    update();
}

} // namespace Ui
