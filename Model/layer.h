#ifndef CELVANE_MODEL_LAYER_H
#define CELVANE_MODEL_LAYER_H

#include "Model/object.h"

#include <QList>
#include <boost/shared_ptr.hpp>

namespace Model {

/// An ordered list of scene objects that draws them and finds them by picking number.
class Layer
{
public:
    typedef boost::shared_ptr<Object> ObjectPtr;

    void addObject(const ObjectPtr &object);
    /// Removes every occurrence; true when the object was in the layer.
    bool removeObject(const ObjectPtr &object);
    const QList<ObjectPtr> &getObjects() const { return objects; }
    bool isEmpty() const { return objects.isEmpty(); }
    void clear() { objects.clear(); }

    /// Draws by the current OpenGL render mode: draw() in GL_RENDER, named picking geometry
    /// in GL_SELECT, nothing in any other mode.
    void draw(bool a, bool b) const;
    /// Draws every object's picking geometry under its name, whatever the render mode.
    void drawForPicking() const;

    /// The first object whose picking number is id, or an empty pointer.
    ObjectPtr findObject(quint32 id, bool *found = nullptr) const;

private:
    QList<ObjectPtr> objects;
};

} // namespace Model

#endif
