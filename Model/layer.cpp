#include "Model/layer.h"

#include <GL/gl.h>

namespace Model {

void Layer::addObject(const ObjectPtr &object)
{
    if (object)
        objects.append(object);
}

bool Layer::removeObject(const ObjectPtr &object)
{
    return objects.removeAll(object) > 0;
}

void Layer::draw(bool a, bool b) const
{
    GLint mode = 0;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    if (mode == GL_RENDER) {
        for (const ObjectPtr &object : objects)
            object->draw(a, b);
    } else if (mode == GL_SELECT) {
        drawForPicking();
    }
}

void Layer::drawForPicking() const
{
    for (const ObjectPtr &object : objects) {
        glPushName(object->getId());
        object->drawForPicking();
        glPopName();
    }
}

Layer::ObjectPtr Layer::findObject(quint32 id, bool *found) const
{
    for (const ObjectPtr &object : objects) {
        if (object->getId() == id) {
            if (found)
                *found = true;
            return object;
        }
    }
    if (found)
        *found = false;
    return ObjectPtr();
}

} // namespace Model
