#include "Core/Operations/selection.h"

#include "Core/Operations/document.h"
#include "Core/Operations/pickstate.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace Core {
namespace Operations {

namespace {
const int selectBufferSize = 2048;
const double pickRegion = 4.0;
} // namespace

Selection::Selection(Document *document, PickState *pickState)
    : document(document), pickState(pickState), selectionMode(false)
{}

void Selection::setSelectionMode(bool on)
{
    if (on != selectionMode) {
        selectionMode = on;
        if (!on)
            clearSelection();
    }
    Util::notifyAll(observers);
}

void Selection::clearSelection()
{
    for (const ObjectPtr &object : selected)
        object->setSelected(false);
    selected.clear();
    publishSnapshot();
}

bool Selection::pickAt(int x, int y)
{
    if (!selectionMode)
        return false;

    GLuint buffer[selectBufferSize];
    GLint viewport[4];
    GLdouble projection[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glSelectBuffer(selectBufferSize, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(GLdouble(x), GLdouble(viewport[1] + viewport[3] - y), pickRegion, pickRegion,
                  viewport);
    glMultMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);

    document->drawForPicking();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glFlush();
    const GLint hits = glRenderMode(GL_RENDER);
    if (hits <= 0)
        return false;

    // The first hit record: name count, min depth, max depth, then the names.
    QList<quint32> names;
    const GLuint count = buffer[0];
    for (GLuint i = 0; i < count && 3 + i < GLuint(selectBufferSize); ++i)
        names.append(buffer[3 + i]);
    togglePicked(names);
    return true;
}

void Selection::togglePicked(const QList<quint32> &pickingNumbers)
{
    for (quint32 number : pickingNumbers) {
        const ObjectPtr object = document->findObject(number);
        if (!object)
            continue;
        if (object->isSelected()) {
            object->setSelected(false);
            selected.removeAll(object);
        } else {
            object->setSelected(true);
            selected.append(object);
        }
    }
    publishSnapshot();
}

void Selection::addObserver(const Util::ObserverPtr &observer)
{
    if (observer)
        observers.append(observer);
}

void Selection::publishSnapshot()
{
    pickState->setSelection(selected);
}

} // namespace Operations
} // namespace Core
