#include "Core/Operations/workspace.h"
#include "Model/palette.h"
#include "UI/glwidget.h"
#include "UI/mainwindow.h"
#include "testmain.h"
#include "ui_mainwindow.h"
#include "viewtestutil.h"

#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

using Model::Automaton::TotalVolume;
using Ui::GLWidget;
using Ui::MainWindow;

namespace {

const QRgb background = qRgb(0, 0, 0);

/// The grid line through p falls on p's pixel column or the one to its left.
bool showsGridLine(const QImage &image, QPoint p)
{
    const QRgb grid = qRgb(102, 102, 102);
    return image.pixel(p) == grid || image.pixel(p - QPoint(1, 0)) == grid;
}

/// Two vectors, compared with a tolerance that also holds for components that are zero.
bool nearlyEqual(const QVector3D &a, const QVector3D &b)
{
    return qFuzzyCompare(a + QVector3D(1, 1, 1), b + QVector3D(1, 1, 1));
}

/// Keeps a picture where CELVANE_KEEP_SCREENSHOTS says, for people to look at.
void keepScreenshot(const QImage &image, const QString &name)
{
    const QString folder = qEnvironmentVariable("CELVANE_KEEP_SCREENSHOTS");
    if (!folder.isEmpty())
        image.save(folder + QLatin1Char('/') + name);
}

double distance(const Util::Vector3D &a, const Util::Vector3D &b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

QString describe(const Util::Vector3D &p)
{
    return QStringLiteral("(%1, %2, %3)").arg(p.x).arg(p.y).arg(p.z);
}

/// Cuts trenches 10 deep along y into the default substrate's silicon (30 high) every 20
/// cells, and covers the rest with 4 cells of thermal oxide (0.5, 0.5, 1).
void carveTrenches(const TotalVolume::Ptr &volume)
{
    Model::Automaton::Voxel *cells = volume->lockCells();
    for (quint32 x = 0; x < 100; ++x)
        for (quint32 y = 0; y < 100; ++y)
            for (quint32 z = 20; z < 34; ++z) {
                const bool trench = x % 20 >= 8 && x % 20 < 14;
                cells[volume->getCellIndex(x, y, z)].material = trench ? 0 : (z < 30 ? 1 : 3);
            }
    volume->releaseCells();
}

} // namespace

/// The 3D view under a real GL context: what it draws, how the mouse, the wheel and the keys
/// move the camera, and picking.
class TestGLWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void formatWarnings_data();
    void formatWarnings();
    void substrateShowsWhereTheBoxProjects();
    void lightingShadesTheSubstrate();
    void renderObjectsOffHidesTheVolume();
    void gridDrawnInGridColor();
    void presetViews_data();
    void presetViews();
    void bottomThenTopRestoresTheMatrix();
    void wheelFactor_data();
    void wheelFactor();
    void wheelZoomMagnifiesAndSurvivesResize();
    void zoomedInNothingIsCutAway();
    void farVolumeLeavesTheOthersDrawn_data();
    void farVolumeLeavesTheOthersDrawn();
    void shiftWheelMovesTheLight();
    void clickSelectsDragDoesNot();
    void clicksThatPickNothing();
    void clickedPointsMoveOrCopy_data();
    void clickedPointsMoveOrCopy();
    void scenePointFollowsTheView_data();
    void scenePointFollowsTheView();
    void leftDragToTheRightRotatesAboutScreenY();
    void rightDragPansWithTheMouse();
    void shiftRightDragMovesObjectsOnly();
    void shiftLeftDragPlacesTheLight();
    void keysPan();
    void keysActOnTheActiveWindowOnly();
    void surfaceAlgorithmsShowTheTrenches();
    void newSubstrateIsFramedIsometrically();
    void wheelZoomKeepsThePointUnderTheCursor();
    void edgesOutlineCellsAndKeepTheShading();
    void cursorReadoutAndScaleBar();

private:
    GLWidget *view() const { return window->getGLWidget(); }
    QImage frame() const { return view()->renderImage(); }

    QPointer<MainWindow> window;
    QTemporaryDir workDir;
};

void TestGLWidget::init()
{
    QDir::setCurrent(workDir.path());
    Model::setColorScheme(Model::DefaultScheme);
    window = showMainWindow(900, 700);
    QVERIFY(window);
    QApplication::setActiveWindow(window);
    QVERIFY(view());
    QCOMPARE(window->centralWidget(), static_cast<QWidget *>(view()));
}

void TestGLWidget::cleanup()
{
    closeWindow(window);
}

void TestGLWidget::formatWarnings_data()
{
    QTest::addColumn<bool>("doubleBuffer");
    QTest::addColumn<bool>("alpha");
    QTest::addColumn<bool>("depth");
    QTest::addColumn<bool>("rgba");
    QTest::addColumn<bool>("direct");
    QTest::addColumn<QStringList>("warnings");
    QTest::newRow("all granted") << true << true << true << true << true << QStringList();
    QTest::newRow("no alpha") << true << false << true << true << true
                              << QStringList{"Could not get alpha channel; results will be "
                                             "suboptimal"};
    QTest::newRow("nothing") << false << false << false << false << false
                             << QStringList{
                                    "Could not get double buffer; results will be suboptimal",
                                    "Could not get alpha channel; results will be suboptimal",
                                    "Could not get depth buffer; results will be suboptimal",
                                    "Could not get rgba mode; results will be suboptimal",
                                    "Could not get direct rendering; results will be suboptimal"};
}

void TestGLWidget::formatWarnings()
{
    QFETCH(bool, doubleBuffer);
    QFETCH(bool, alpha);
    QFETCH(bool, depth);
    QFETCH(bool, rgba);
    QFETCH(bool, direct);
    QFETCH(QStringList, warnings);
    QGLFormat got;
    got.setDoubleBuffer(doubleBuffer);
    got.setAlpha(alpha);
    got.setDepth(depth);
    got.setRgba(rgba);
    got.setDirectRendering(direct);
    QCOMPARE(GLWidget::formatWarnings(got), warnings);
    // This display grants everything the view asks for: no warning was written.
    QVERIFY(GLWidget::formatWarnings(view()->format()).isEmpty());
}

void TestGLWidget::substrateShowsWhereTheBoxProjects()
{
    const TotalVolume::Ptr volume = createUnlitSubstrate(window);
    QVERIFY(volume);
    QCOMPARE(volume->getCellsX(), 100u);
    QCOMPARE(volume->getCellsZ(), 80u);
    const QImage image = frame();
    QCOMPARE(image.size(), view()->size());
    // Seen from the top the 100 x 100 block covers world x and y from 0 to 100: up and to
    // the right of the centre, where the origin is.
    for (QPointF p : {QPointF(50, 50), QPointF(5, 95), QPointF(95, 5), QPointF(97, 97)})
        QVERIFY2(isSiliconGrey(image.pixel(pixelOf(view(), p.x(), p.y()))),
                 qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));
    for (QPointF p : {QPointF(-50, -50), QPointF(-50, 50), QPointF(50, -50), QPointF(103, 50),
                      QPointF(50, 103)})
        QVERIFY2(image.pixel(pixelOf(view(), p.x(), p.y())) == background,
                 qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));
    // The axes start at the origin: red along x.
    const QRgb axis = image.pixel(pixelOf(view(), -0.0, 0.0) + QPoint(-20, 0));
    QCOMPARE(qRed(axis), 0); // nothing on the negative x side
    const QImage again = frame();
    QCOMPARE(again, image); // the same picture every time
}

void TestGLWidget::lightingShadesTheSubstrate()
{
    QVERIFY(createDefaultSubstrate(window));
    QVERIFY(window->form()->actionLighting->isChecked());
    const QRgb lit = frame().pixel(pixelOf(view(), 20, 80));
    QVERIFY(lit != background);
    QCOMPARE(qGreen(lit), qRed(lit)); // a grey material under a white light stays grey
    QCOMPARE(qBlue(lit), qRed(lit));
    window->form()->actionLighting->setChecked(false);
    QVERIFY(!view()->isLighting());
    QVERIFY(frame().pixel(pixelOf(view(), 20, 80)) != lit);

    // Seen straight from above, with the light at the viewer, the silicon's top face keeps its
    // grey: scene ambient 0.2 and light ambient 0.5 and diffuse 0.5 on 0.5, plus a 0.1 sheen,
    // make 0.7 (178 of 255), not white.
    window->form()->actionLighting->setChecked(true);
    view()->setPan(-50, -50);
    const QRgb top = frame().pixel(view()->width() / 2, view()->height() / 2);
    QVERIFY2(qAbs(qRed(top) - 178) <= 3, qPrintable(QString::number(qRed(top))));
}

void TestGLWidget::renderObjectsOffHidesTheVolume()
{
    QVERIFY(createDefaultSubstrate(window));
    window->form()->actionRender_Objects->setChecked(false);
    QVERIFY(!view()->isRenderObjects());
    const QImage image = frame();
    QCOMPARE(image.pixel(pixelOf(view(), 50, 50)), background);
    window->form()->actionRender_Objects->setChecked(true);
    QVERIFY(frame().pixel(pixelOf(view(), 50, 50)) != background);
}

void TestGLWidget::gridDrawnInGridColor()
{
    QImage image = frame();
    QCOMPARE(image.pixel(pixelOf(view(), -50, -33)), background);
    window->form()->actionGrid->setChecked(true);
    QVERIFY(view()->isRenderGrid());
    image = frame();
    QVERIFY(showsGridLine(image, pixelOf(view(), -50, -33)));
    // Between lines there is background.
    QCOMPARE(image.pixel(pixelOf(view(), -45, -33)), background);

    // Panned right and up, the grid still reaches the left and bottom edges: a line crosses
    // the bottom row every 10 pixels.
    view()->setPan(300, 200);
    image = frame();
    int crossings = 0;
    for (int x = 0; x < image.width(); ++x)
        crossings += image.pixel(x, image.height() - 3) == qRgb(102, 102, 102) ? 1 : 0;
    QVERIFY2(crossings >= image.width() / 10 - 2, qPrintable(QString::number(crossings)));
    view()->setPan(0, 0);
    window->form()->actionGrid->setChecked(false);
    QCOMPARE(frame().pixel(pixelOf(view(), -50, -33)), background);
}

void TestGLWidget::presetViews_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<QVector3D>("worldZOnScreen");
    QTest::addColumn<QVector3D>("worldXOnScreen");
    // Where the world's z and x axes point on the screen (x right, y up, z to the viewer).
    QTest::newRow("front") << "front" << QVector3D(0, 1, 0) << QVector3D(1, 0, 0);
    QTest::newRow("back") << "back" << QVector3D(0, 1, 0) << QVector3D(-1, 0, 0);
    QTest::newRow("left") << "left" << QVector3D(0, 1, 0) << QVector3D(0, 0, -1);
    QTest::newRow("right") << "right" << QVector3D(0, 1, 0) << QVector3D(0, 0, 1);
    QTest::newRow("top") << "top" << QVector3D(0, 0, 1) << QVector3D(1, 0, 0);
    QTest::newRow("bottom") << "bottom" << QVector3D(0, 0, -1) << QVector3D(1, 0, 0);
}

void TestGLWidget::presetViews()
{
    QFETCH(QString, view);
    QFETCH(QVector3D, worldZOnScreen);
    QFETCH(QVector3D, worldXOnScreen);
    window->setView(view);
    const QMatrix4x4 m = this->view()->getCamera().modelView();
    QVERIFY(nearlyEqual(m.mapVector(QVector3D(0, 0, 1)), worldZOnScreen));
    QVERIFY(nearlyEqual(m.mapVector(QVector3D(1, 0, 0)), worldXOnScreen));
}

void TestGLWidget::bottomThenTopRestoresTheMatrix()
{
    float initial[16];
    std::copy(view()->getCamera().getMatrix(), view()->getCamera().getMatrix() + 16, initial);
    // Turn the scene by hand first, then through the menu.
    drag(view(), QPoint(100, 100), QPoint(180, 140), Qt::LeftButton);
    QVERIFY(view()->getCamera().modelView() != QMatrix4x4());
    window->form()->actionBottom_View->trigger();
    QCOMPARE(view()->getCamera().getMatrix()[10], -1.0f);
    window->form()->actionTop_View->trigger();
    for (int i = 0; i < 16; ++i)
        QCOMPARE(view()->getCamera().getMatrix()[i], initial[i]); // exactly
}

void TestGLWidget::wheelFactor_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<double>("magnification");
    QTest::newRow("one notch forward") << 120 << 1.1;
    QTest::newRow("one notch back") << -120 << 1.0 / 1.1;
    QTest::newRow("two notches forward") << 240 << 1.2;
    QTest::newRow("a touchpad step") << 12 << 1.01;
}

void TestGLWidget::wheelFactor()
{
    QFETCH(int, angle);
    QFETCH(double, magnification);
    wheel(view(), angle);
    QVERIFY(qAbs(view()->getZoom() - 1.0 / magnification) < 1e-6);
    QVERIFY(qAbs(view()->getTrackball().getScale() - view()->getZoom()) < 1e-9);
}

void TestGLWidget::wheelZoomMagnifiesAndSurvivesResize()
{
    QVERIFY(createUnlitSubstrate(window));
    wheel(view(), 120); // magnifies 1.1 times
    // The block's right edge, x = 100, now lies 110 pixels right of the centre.
    const int centre = view()->width() / 2;
    const int row = view()->height() / 2 - 50;
    QImage image = frame();
    QVERIFY(isSiliconGrey(image.pixel(centre + 107, row)));
    QCOMPARE(image.pixel(centre + 113, row), background);

    // A resize keeps the magnification: a pixel still covers zoom world units.
    window->resize(1000, 760);
    QTRY_VERIFY(view()->width() > 900);
    view()->updateGL();
    QVERIFY(qAbs(view()->getZoom() - 1.0f / 1.1f) < 1e-6f);
    const QMatrix4x4 p = projection(view());
    QVERIFY(qAbs(p(0, 0) - 2.0f / (view()->getZoom() * view()->width())) < 1e-7f);
    QVERIFY(qAbs(p(1, 1) - 2.0f / (view()->getZoom() * view()->height())) < 1e-7f);
    image = frame();
    QVERIFY(isSiliconGrey(image.pixel(view()->width() / 2 + 107, view()->height() / 2 - 50)));
    QCOMPARE(image.pixel(view()->width() / 2 + 113, view()->height() / 2 - 50), background);
}

void TestGLWidget::zoomedInNothingIsCutAway()
{
    // Seen from the back and magnified eight times, the block's nearest face (y = 100) lies
    // 100 units in front of the origin, beyond the depth of the visible window: the depth
    // range must follow the scene or that face is cut away and the block shows hollow.
    QVERIFY(createUnlitSubstrate(window));
    window->setView(QStringLiteral("back"));
    view()->setZoom(1.0f / 8.0f);
    const QImage image = frame();
    // From the back, world x runs to the left: the face point (2, 100, 2) shows at (-2, 2).
    QVERIFY(isSiliconGrey(image.pixel(pixelOf(view(), -2.0, 2.0))));
}

void TestGLWidget::farVolumeLeavesTheOthersDrawn_data()
{
    QTest::addColumn<Util::Vector3D>("position");
    QTest::addColumn<float>("cellSize");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("at the coordinate limit") << Util::Vector3D(9.9e6, 0, 0) << 1.0f;
    QTest::newRow("infinite cell size") << Util::Vector3D(-500, -500, 0) << float(inf);
    QTest::newRow("infinite position") << Util::Vector3D(inf, 0, 0) << 1.0f;
    QTest::newRow("position not a number") << Util::Vector3D(std::nan(""), 0, 0) << 1.0f;
}

void TestGLWidget::farVolumeLeavesTheOthersDrawn()
{
    // Such a volume cannot be opened or moved to, but nothing it holds may blank the view.
    QFETCH(Util::Vector3D, position);
    QFETCH(float, cellSize);
    QVERIFY(createUnlitSubstrate(window));
    window->form()->actionGrid->setChecked(true);
    window->getPresenter().getDocument().addObject(
        TotalVolume::createFilled(2, 2, 2, cellSize, cellSize, cellSize, position, 1));
    const QImage image = frame();
    QVERIFY(isSiliconGrey(image.pixel(pixelOf(view(), 50, 50))));
    QVERIFY(showsGridLine(image, pixelOf(view(), -50, -33)));
}

void TestGLWidget::shiftWheelMovesTheLight()
{
    wheel(view(), 120, Qt::ShiftModifier);
    QCOMPARE(view()->getZoom(), 1.0f);
    QVERIFY(qAbs(view()->getLightDistance() - 330.0f) < 1e-3f);
    QVERIFY(qAbs(view()->getLightPosition()[2] - 330.0f) < 1e-3f);
    QCOMPARE(view()->getLightPosition()[3], 1.0f);
}

void TestGLWidget::clickSelectsDragDoesNot()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window);
    QVERIFY(volume);
    Core::Operations::Selection &selection = window->getPresenter().getSelection();
    window->form()->actionSelect->setChecked(true);
    QVERIFY(selection.isSelectionMode());
    const QMatrix4x4 before = view()->getCamera().modelView();

    // A press-drag-release over the volume turns the scene and selects nothing.
    drag(view(), pixelOf(view(), 40, 40), pixelOf(view(), 60, 45), Qt::LeftButton);
    QVERIFY(!volume->isSelected());
    QVERIFY(selection.getSelectedObjects().isEmpty());
    QVERIFY(view()->getCamera().modelView() != before);

    window->setView(QStringLiteral("top"));
    click(view(), pixelOf(view(), 50, 50));
    QVERIFY(volume->isSelected());
    QCOMPARE(selection.getSelectedObjects().size(), 1);
    QCOMPARE(window->getPresenter().getWorkspace().getPickState().getSelection().size(), 1);
    QCOMPARE(view()->getCamera().modelView(), QMatrix4x4()); // a click does not turn anything

    // The view shows the selection: highlight of 0.5 grey is 0.8.
    window->form()->actionLighting->setChecked(false);
    const QRgb selected = frame().pixel(pixelOf(view(), 50, 50));
    QVERIFY(qAbs(qRed(selected) - 204) <= 1);

    // A second click toggles it off again.
    click(view(), pixelOf(view(), 50, 50));
    QVERIFY(!volume->isSelected());
    QVERIFY(selection.getSelectedObjects().isEmpty());
}

void TestGLWidget::clicksThatPickNothing()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window);
    QVERIFY(!window->getPresenter().getSelection().isSelectionMode());
    click(view(), pixelOf(view(), 50, 50)); // not in selection mode
    QVERIFY(!volume->isSelected());
    window->form()->actionSelect->setChecked(true);
    // A right click is no pick.
    const QPoint p = pixelOf(view(), 50, 50);
    sendMouse(view(), QEvent::MouseButtonPress, p, Qt::RightButton, Qt::RightButton);
    sendMouse(view(), QEvent::MouseButtonRelease, p, Qt::RightButton, Qt::NoButton);
    QVERIFY(!volume->isSelected());
    click(view(), pixelOf(view(), -30, -30)); // beside the volume
    QVERIFY(!volume->isSelected());
    // Scene offset and pan count: the box moved right by 200 units is picked where it shows.
    const QPoint unpanned = pixelOf(view(), 50, 50);
    view()->setPan(200, 0);
    click(view(), unpanned);
    QVERIFY(!volume->isSelected());
    click(view(), unpanned + QPoint(200, 0));
    QVERIFY(volume->isSelected());
}

void TestGLWidget::clickedPointsMoveOrCopy_data()
{
    QTest::addColumn<bool>("copy");
    QTest::addColumn<bool>("snap");
    QTest::addColumn<QPointF>("destination");
    QTest::addColumn<Util::Vector3D>("displacement");
    // The base is clicked on the silicon's top face (z = 30) at (20.3, 60.4).
    QTest::newRow("move") << false << false << QPointF(50.3, 40.4) << Util::Vector3D(30, -20, 0);
    QTest::newRow("copy, snapped")
        << true << true << QPointF(50.3, 40.4) << Util::Vector3D(30, -20, 0);
    // Beside the volume the cursor is over the ground, yet the copy stays level with the base.
    QTest::newRow("copy beside the volume, snapped")
        << true << true << QPointF(150.3, 60.4) << Util::Vector3D(130, 0, 0);
}

void TestGLWidget::clickedPointsMoveOrCopy()
{
    QFETCH(bool, copy);
    QFETCH(bool, snap);
    QFETCH(QPointF, destination);
    QFETCH(Util::Vector3D, displacement);
    const TotalVolume::Ptr volume = createDefaultSubstrate(window);
    QVERIFY(volume);
    window->setView(QStringLiteral("top"));
    window->form()->actionSnap_to_Grid->setChecked(snap);
    window->form()->actionSelect->setChecked(true);
    click(view(), pixelOf(view(), 50, 50));
    QVERIFY(volume->isSelected());
    (copy ? window->form()->actionCopy : window->form()->actionMove)->trigger();

    click(view(), pixelOf(view(), 20.3, 60.4));
    click(view(), pixelOf(view(), destination.x(), destination.y()));

    const QList<boost::shared_ptr<Model::Object>> objects =
        window->getPresenter().getDocument().getObjects();
    QCOMPARE(objects.size(), copy ? 2 : 1);
    const Util::Vector3D moved =
        boost::dynamic_pointer_cast<TotalVolume>(objects.last())->getPosition();
    if (snap) {
        QCOMPARE(moved, displacement);
    } else {
        // A pixel is one world unit at this zoom.
        QVERIFY2(qAbs(moved.x - displacement.x) <= 1.0 && qAbs(moved.y - displacement.y) <= 1.0,
                 qPrintable(describe(moved)));
        QCOMPARE(moved.z, 0.0);
    }
    if (copy)
        QCOMPARE(volume->getPosition(), Util::Vector3D(0, 0, 0));
    QVERIFY(!window->getPresenter().getWorkspace().getPickState().getWaitingOperation());
    // One undo takes it back.
    window->form()->actionUndo->trigger();
    QCOMPARE(window->getPresenter().getDocument().getObjects().size(), 1);
    QCOMPARE(volume->getPosition(), Util::Vector3D(0, 0, 0));
}

void TestGLWidget::scenePointFollowsTheView_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QPointF>("screen");
    QTest::addColumn<Util::Vector3D>("point");
    // The substrate fills 0..100 in x and y and 0..30 in z; the ground grid lies at z = 0.
    QTest::newRow("top, on the silicon")
        << "top" << QPointF(50.5, 40.5) << Util::Vector3D(50.5, 40.5, 30);
    QTest::newRow("top, on the ground")
        << "top" << QPointF(-20.5, 70.5) << Util::Vector3D(-20.5, 70.5, 0);
    // Front: screen x is world x, screen y is world z; the eye looks along +y.
    QTest::newRow("front, on the near face")
        << "front" << QPointF(60.5, 10.5) << Util::Vector3D(60.5, 0, 10.5);
    // Bottom: turned over about x, so screen y is world -y; the eye looks up at z = 0.
    QTest::newRow("bottom, on the underside")
        << "bottom" << QPointF(30.5, -20.5) << Util::Vector3D(30.5, 20.5, 0);
}

void TestGLWidget::scenePointFollowsTheView()
{
    QFETCH(QString, preset);
    QFETCH(QPointF, screen);
    QFETCH(Util::Vector3D, point);
    QVERIFY(createDefaultSubstrate(window));
    window->setView(preset);
    Util::Vector3D found;
    const QPoint pixel = pixelOf(view(), screen.x(), screen.y());
    QVERIFY(view()->scenePointAt(pixel.x(), pixel.y(), &found));
    for (int axis = 0; axis < 3; ++axis)
        QVERIFY2(qAbs(found[axis] - point[axis]) <= 1.0, qPrintable(describe(found)));
}

void TestGLWidget::leftDragToTheRightRotatesAboutScreenY()
{
    const QPoint centre(view()->width() / 2, view()->height() / 2);
    drag(view(), centre, centre + QPoint(60, 0), Qt::LeftButton);
    const QMatrix4x4 m = view()->getCamera().modelView();
    // A turn about the screen's y axis keeps y and moves the side facing the viewer to the
    // right: the world's z axis tilts towards screen x.
    QVERIFY(qFuzzyCompare(m.mapVector(QVector3D(0, 1, 0)), QVector3D(0, 1, 0)));
    const QVector3D z = m.mapVector(QVector3D(0, 0, 1));
    QVERIFY(z.x() > 0.05f);
    QVERIFY(qAbs(z.y()) < 1e-5f);
    QVERIFY(z.z() < 1.0f);
}

void TestGLWidget::rightDragPansWithTheMouse()
{
    const QPoint start(200, 200);
    drag(view(), start, start + QPoint(20, -10), Qt::RightButton);
    QCOMPARE(view()->getCamera().getPanX(), 20.0f);
    QCOMPARE(view()->getCamera().getPanY(), 10.0f); // screen y grows downwards
    // At zoom 0.5 a pixel is half a world unit: the picture still follows the mouse.
    view()->setZoom(0.5f);
    drag(view(), start, start + QPoint(20, 0), Qt::RightButton);
    QCOMPARE(view()->getCamera().getPanX(), 30.0f);
}

void TestGLWidget::shiftRightDragMovesObjectsOnly()
{
    QVERIFY(createUnlitSubstrate(window));
    window->form()->actionGrid->setChecked(true);
    drag(view(), QPoint(300, 300), QPoint(340, 300), Qt::RightButton, Qt::ShiftModifier);
    QCOMPARE(view()->getCamera().getSceneOffset()[0], 40.0f);
    QCOMPARE(view()->getCamera().getPanX(), 0.0f);
    const QImage image = frame();
    // The block now spans x from 40 to 140.
    QVERIFY(isSiliconGrey(image.pixel(pixelOf(view(), 135, 50))));
    // Grid and axes stayed: the grid line x = -50 is where it was, and so is the red axis.
    QVERIFY(showsGridLine(image, pixelOf(view(), -50, -33)));
    const QPoint axis = pixelOf(view(), 20, 0);
    QVERIFY(qRed(image.pixel(axis)) > 200 || qRed(image.pixel(axis - QPoint(0, 1))) > 200);
}

void TestGLWidget::shiftLeftDragPlacesTheLight()
{
    const QPoint centre(view()->width() / 2, view()->height() / 2);
    drag(view(), centre, centre + QPoint(100, 0), Qt::LeftButton, Qt::ShiftModifier);
    const float *light = view()->getLightPosition();
    const float length = std::sqrt(light[0] * light[0] + light[1] * light[1] + light[2] * light[2]);
    QVERIFY(qAbs(length - 300.0f) < 1e-3f);
    QVERIFY(light[0] > 0.0f);
    QVERIFY(qAbs(light[1]) < 1e-3f);
    QCOMPARE(view()->getCamera().modelView(), QMatrix4x4()); // the scene did not turn
}

void TestGLWidget::keysPan()
{
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_A);
    QCOMPARE(view()->getCamera().getPanX(), -5.0f);
    QTest::keyClick(window, Qt::Key_Q);
    QCOMPARE(view()->getCamera().getPanX(), 0.0f);
    QTest::keyClick(window, Qt::Key_W);
    QCOMPARE(view()->getCamera().getPanY(), 5.0f);
    QTest::keyClick(window, Qt::Key_S);
    QCOMPARE(view()->getCamera().getPanY(), 0.0f);
    const QMatrix4x4 before = view()->getCamera().modelView();
    QTest::keyClick(window, Qt::Key_E);
    QTest::keyClick(window, Qt::Key_D);
    QCOMPARE(view()->getCamera().modelView(), before);
    // The pan moves the picture along the screen whatever the rotation.
    window->setView(QStringLiteral("front"));
    QTest::keyClick(window, Qt::Key_Q);
    const QVector3D origin = view()->getCamera().modelView().map(QVector3D(0, 0, 0));
    QVERIFY(nearlyEqual(origin, QVector3D(5, 0, 0)));
}

void TestGLWidget::keysActOnTheActiveWindowOnly()
{
    // Every open document has its own window and view: the keys must reach the view of the
    // active one, not be lost between them.
    QPointer<MainWindow> second = showMainWindow();
    QVERIFY(second);
    QApplication::setActiveWindow(second);
    QTest::keyClick(second, Qt::Key_A);
    QCOMPARE(second->getGLWidget()->getCamera().getPanX(), -5.0f);
    QCOMPARE(view()->getCamera().getPanX(), 0.0f);
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_W);
    QCOMPARE(view()->getCamera().getPanY(), 5.0f);
    QCOMPARE(second->getGLWidget()->getCamera().getPanY(), 0.0f);
    closeWindow(second);
    QVERIFY(!second);
}

void TestGLWidget::surfaceAlgorithmsShowTheTrenches()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window);
    QVERIFY(volume);
    carveTrenches(volume);
    window->form()->actionRender_Object_Edges->setChecked(true);
    view()->setZoom(0.3f);
    view()->setRotation(-50, 0, 20);
    view()->setPan(-50, -30);

    QImage images[3];
    for (quint32 algorithm = 0; algorithm < 3; ++algorithm) {
        volume->getPainter().setSurfaceAlgorithm(algorithm);
        volume->getPainter().refresh();
        images[algorithm] = frame();
        // Lit by a white light, silicon stays grey and the oxide stays blue.
        int grey = 0, blue = 0;
        for (int y = 0; y < images[algorithm].height(); ++y)
            for (int x = 0; x < images[algorithm].width(); ++x) {
                const QRgb p = images[algorithm].pixel(x, y);
                if (qRed(p) > 40 && qRed(p) == qGreen(p) && qBlue(p) == qRed(p))
                    ++grey;
                else if (qRed(p) == qGreen(p) && qBlue(p) > qRed(p) + 40)
                    ++blue;
            }
        const QString counts =
            QString::asprintf("algorithm %u: %d grey, %d blue", algorithm, grey, blue);
        QVERIFY2(grey > 2000 && blue > 2000, qPrintable(counts));
        keepScreenshot(images[algorithm], QStringLiteral("surface%1.png").arg(algorithm));
    }
    // Cell faces with their outlines, the smoothed surface and the merged blocks all differ.
    QVERIFY(images[0] != images[1]);
    QVERIFY(images[0] != images[2]);
    QVERIFY(images[1] != images[2]);
}

void TestGLWidget::newSubstrateIsFramedIsometrically()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window, true);
    QVERIFY(volume);
    int iso[3];
    GLWidget::isometricAngles(iso);
    QMatrix4x4 expected;
    expected.rotate(iso[0], 1, 0, 0);
    expected.rotate(iso[2], 0, 0, 1);
    for (int i = 0; i < 16; ++i)
        QVERIFY(qAbs(view()->getCamera().getMatrix()[i] - expected.constData()[i]) < 1e-5f);
    // Zoom out, pan away, then F frames it again.
    view()->setZoom(20.0f);
    view()->setPan(4000, -3000);
    QCOMPARE(window->form()->actionFit_to_Scene->shortcut(), QKeySequence(Qt::Key_F));
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_F);
    window->form()->actionLighting->setChecked(false);
    const QImage image = frame();
    // The silicon's pixels touch no edge and span at least a third of the shorter side.
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isSiliconGrey(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    QVERIFY2(!box.isEmpty(), "no silicon in view");
    QString where;
    QDebug(&where) << box << "in" << image.size();
    QVERIFY2(box.left() > 0 && box.top() > 0 && box.right() < image.width() - 1 &&
                 box.bottom() < image.height() - 1,
             qPrintable(where));
    QVERIFY2(std::max(box.width(), box.height()) * 3 >= std::min(image.width(), image.height()),
             qPrintable(where));
    // New empties the scene and starts again from the plain view.
    answerMessageBox(QMessageBox::Ok);
    window->form()->actionNew->trigger();
    QVERIFY(window->getPresenter().getDocument().getObjects().isEmpty());
    QCOMPARE(view()->getZoom(), 1.0f);
    QCOMPARE(view()->getCamera().getPanX(), 0.0f);
}

void TestGLWidget::wheelZoomKeepsThePointUnderTheCursor()
{
    QVERIFY(createDefaultSubstrate(window));
    // Off the centre, over the block's top: after zooming the same point is under the cursor.
    const QPoint at = pixelOf(view(), 20.5, 70.5);
    Util::Vector3D before, after;
    QVERIFY(view()->scenePointAt(at.x(), at.y(), &before));
    wheel(view(), 360, Qt::NoModifier, at);
    QVERIFY(view()->scenePointAt(at.x(), at.y(), &after));
    QVERIFY2(distance(after, before) < 0.01, qPrintable(describe(before) + describe(after)));
    wheel(view(), -240, Qt::NoModifier, at);
    QVERIFY(view()->scenePointAt(at.x(), at.y(), &after));
    QVERIFY2(distance(after, before) < 0.01, qPrintable(describe(before) + describe(after)));
}

void TestGLWidget::edgesOutlineCellsAndKeepTheShading()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window, true);
    QVERIFY(volume);
    carveTrenches(volume);
    volume->getPainter().refresh();
    view()->fitToScene();
    const QImage plain = frame();
    window->form()->actionRender_Object_Edges->setChecked(true);
    const QImage edged = frame();
    keepScreenshot(plain, QStringLiteral("trenches-without-edges.png"));
    keepScreenshot(edged, QStringLiteral("trenches-with-edges.png"));
    // Where the edges change the picture they darken it; most of every face stays as it was,
    // so the shading still shows (1 pixel lines on cells several pixels wide).
    long volumePixels = 0, changed = 0, lighter = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb a = plain.pixel(x, y), b = edged.pixel(x, y);
            if (a == background)
                continue;
            ++volumePixels;
            if (a == b)
                continue;
            ++changed;
            if (qRed(b) + qGreen(b) + qBlue(b) > qRed(a) + qGreen(a) + qBlue(a))
                ++lighter;
        }
    const QString counts =
        QStringLiteral("%1 of %2 changed, %3 lighter").arg(changed).arg(volumePixels).arg(lighter);
    QVERIFY2(changed > volumePixels / 20, qPrintable(counts));    // the cells show
    QVERIFY2(changed < volumePixels * 3 / 4, qPrintable(counts)); // the faces too
    QVERIFY2(lighter < changed / 20, qPrintable(counts));
}

void TestGLWidget::cursorReadoutAndScaleBar()
{
    const TotalVolume::Ptr volume = createDefaultSubstrate(window);
    QVERIFY(volume);
    QVERIFY(view()->hasMouseTracking()); // the readout follows a mouse without buttons
    // Seen from the top at zoom 0.5, pixel (41, -141) from the centre shows world (20.5, 70.5),
    // over the top silicon cell z = 29.
    view()->setZoom(0.5f);
    const QPoint at(view()->width() / 2 + 41, view()->height() / 2 - 141);
    sendMouse(view(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    QLabel *readout = window->findChild<QLabel *>(QStringLiteral("lblCursor"));
    QVERIFY(readout);
    QCOMPARE(readout->text(),
             QStringLiteral("Volume %1, cell (20, 70, 29): Si").arg(volume->getId()));
    // The readout follows the cells under the resting cursor: a change of the cells (as a
    // step commits it) shows the cell below the one taken away; leaving the view clears it.
    Model::Automaton::Voxel *cells = volume->lockCells();
    cells[volume->getCellIndex(20, 70, 29)].setMaterial(0);
    volume->releaseCells();
    window->getPresenter().getWorkspace().notifyUpdate();
    QCOMPARE(readout->text(),
             QStringLiteral("Volume %1, cell (20, 70, 28): Si").arg(volume->getId()));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view(), &leave);
    QCOMPARE(readout->text(), QString());
    sendMouse(view(), QEvent::MouseMove, pixelOf(view(), -30, -30), Qt::NoButton, Qt::NoButton);
    QCOMPARE(readout->text(), QString());
    // About a hundred pixels of 1, 2 or 5 times a power of ten.
    int pixels = 0;
    QCOMPARE(view()->scaleBarLength(&pixels), 50.0);
    QCOMPARE(pixels, 100);
    view()->setZoom(0.3f);
    QCOMPARE(view()->scaleBarLength(&pixels), 20.0);
    QCOMPARE(pixels, 67);
}

CELVANE_GUI_TEST_MAIN(TestGLWidget)
#include "tst_glwidget.moc"
