#ifndef CELVANE_MODEL_OBJECT_H
#define CELVANE_MODEL_OBJECT_H

#include "Util/vector3d.h"
#include "Util/vector4d.h"

#include <QtGlobal>
#include <boost/shared_ptr.hpp>

namespace Model {

/// Base of everything the 3D view shows and the user selects, moves, copies or deletes.
class Object
{
public:
    Object();
    virtual ~Object();

    /// 1 for a cell volume, 2 for an extracted model.
    virtual qint32 getType() const = 0;
    /// Draws in normal render mode; the flags come from the 3D view.
    virtual void draw(bool a, bool b) = 0;
    /// Draws the pickable geometry in OpenGL selection mode.
    virtual void drawForPicking() = 0;
    /// A deep copy with a fresh picking number; empty when it cannot be allocated.
    virtual boost::shared_ptr<Object> clone() = 0;
    virtual void translate(Util::Vector4D d) = 0;
    /// Reserved: both concrete kinds ignore it.
    virtual void transform(Util::Vector4D a, Util::Vector4D b) = 0;

    virtual Util::Vector4D getColor() const;
    virtual Util::Vector3D getOutlineColor() const;
    virtual void setColor(Util::Vector4D c);
    virtual void setOutlineColor(Util::Vector4D c);
    virtual void setSelected(bool s);
    virtual bool isSelected() const;

    /// No coordinate of an object's corners may exceed this magnitude: beyond it the view's
    /// depth range and the float positions of documents lose all precision.
    static constexpr double coordinateLimit = 1e7;
    /// True when every coordinate of p is finite and within the coordinate limit.
    static bool withinLimit(const Util::Vector3D &p);

    /// The object's lower and upper corners in world units (preview displacement not included);
    /// false for an object without extent.
    virtual bool getBounds(Util::Vector3D &lower, Util::Vector3D &upper) const;

    quint32 getId() const { return id; }
    bool isPreview() const { return preview; }
    void setPreview(bool p) { preview = p; }
    Util::Vector3D getPreviewDisplacement() const { return previewDisplacement; }
    void setPreviewDisplacement(Util::Vector3D d);

protected:
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    Util::Vector4D color;
    Util::Vector4D outlineColor;
    quint32 id;
    bool preview;
    Util::Vector3D previewDisplacement;
    bool selected;
};

} // namespace Model

#endif
