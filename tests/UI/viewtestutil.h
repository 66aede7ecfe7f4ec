#ifndef CELVANE_TESTS_UI_VIEWTESTUTIL_H
#define CELVANE_TESTS_UI_VIEWTESTUTIL_H

#include "Model/Automaton/totalvolume.h"
#include "UI/Operations/createsubstratedialog.h"
#include "UI/glwidget.h"
#include "UI/mainwindow.h"
#include "guitestutil.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QtTest>

/// Creates the substrate the dialog offers first (100 x 100 x 80 cells, silicon 30 high)
/// through the menu, as a user accepting the defaults would. The view frames a new substrate
/// by itself; unless framed is asked for, it is then set back to the plain top view at zoom 1
/// without pan, where pixelOf() finds world points.
inline Model::Automaton::TotalVolume::Ptr createDefaultSubstrate(Ui::MainWindow *window,
                                                                 bool framed = false)
{
    whenModal([](QWidget *w) { static_cast<QDialog *>(w)->accept(); });
    window->form()->actionCreate_Substrate->trigger();
    const QList<boost::shared_ptr<Model::Object>> objects =
        window->getPresenter().getDocument().getObjects();
    Ui::GLWidget *view = window->getGLWidget();
    view->renderImage(); // the frame that frames the new substrate
    if (!framed) {
        view->setRotation(0, 0, 0);
        view->setPan(0, 0);
        view->setZoom(1.0f);
    }
    return objects.isEmpty()
               ? Model::Automaton::TotalVolume::Ptr()
               : boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(objects.last());
}

/// The default substrate in the plain top view, with the lighting off so its silicon shows the
/// flat grey isSiliconGrey() finds.
inline Model::Automaton::TotalVolume::Ptr createUnlitSubstrate(Ui::MainWindow *window)
{
    const Model::Automaton::TotalVolume::Ptr volume = createDefaultSubstrate(window);
    window->form()->actionLighting->setChecked(false);
    return volume;
}

/// Silicon, (0.5, 0.5, 0.5), as 8-bit channels without lighting.
inline bool isSiliconGrey(QRgb pixel)
{
    return qAbs(qRed(pixel) - 127) <= 1 && qGreen(pixel) == qRed(pixel) &&
           qBlue(pixel) == qRed(pixel);
}

/// A mouse event as the window system delivers it, with the buttons held during it.
inline void sendMouse(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, held,
                      modifiers);
    QApplication::sendEvent(widget, &event);
}

/// Press at from, move in steps to to, release there.
inline void drag(QWidget *widget, QPoint from, QPoint to, Qt::MouseButton button,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier, int steps = 4)
{
    sendMouse(widget, QEvent::MouseButtonPress, from, button, button, modifiers);
    for (int i = 1; i <= steps; ++i)
        sendMouse(widget, QEvent::MouseMove, from + (to - from) * i / steps, Qt::NoButton, button,
                  modifiers);
    sendMouse(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton, modifiers);
}

inline void click(QWidget *widget, QPoint pos)
{
    sendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

inline void wheel(QWidget *widget, int angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                  QPoint at = QPoint(-1, -1))
{
    const QPoint centre = at.x() < 0 ? QPoint(widget->width() / 2, widget->height() / 2) : at;
    QWheelEvent event(QPointF(centre), QPointF(widget->mapToGlobal(centre)), QPoint(),
                      QPoint(0, angle), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

/// The pixel of the view that shows world point (x, y) of the plane through the origin in
/// the top view (the pan lies in the screen plane).
inline QPoint pixelOf(const Ui::GLWidget *view, double x, double y)
{
    const double zoom = view->getZoom();
    const Ui::Camera &camera = view->getCamera();
    return QPoint(int(std::floor(view->width() / 2.0 + (x + camera.getPanX()) / zoom)),
                  int(std::floor(view->height() / 2.0 - (y + camera.getPanY()) / zoom)));
}

/// The projection matrix the view drew its last frame with.
inline QMatrix4x4 projection(Ui::GLWidget *view)
{
    view->makeCurrent();
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    QMatrix4x4 result;
    for (int i = 0; i < 16; ++i)
        result.data()[i] = float(m[i]);
    return result;
}

#endif
