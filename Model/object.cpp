#include "Model/object.h"

#include "Model/palette.h"

#include <atomic>
#include <cmath>

namespace Model {

namespace {
// Picking numbers are never reused, so a stale name in a hit record cannot hit another object.
std::atomic<quint32> nextObjectId{0};
} // namespace

Object::Object()
    : color(Model::getColor(ObjectColor, 0)), outlineColor(Model::getColor(OutlineColor, 0)),
      id(nextObjectId.fetch_add(1)), preview(false), previewDisplacement(0.0, 0.0, 0.0),
      selected(false)
{}

Object::~Object() = default;

bool Object::withinLimit(const Util::Vector3D &p)
{
    for (int axis = 0; axis < 3; ++axis)
        if (!std::isfinite(p[axis]) || std::fabs(p[axis]) > coordinateLimit)
            return false;
    return true;
}

bool Object::getBounds(Util::Vector3D &, Util::Vector3D &) const
{
    return false;
}

Util::Vector4D Object::getColor() const
{
    return color;
}

Util::Vector3D Object::getOutlineColor() const
{
    return Util::Vector3D(outlineColor);
}

void Object::setColor(Util::Vector4D c)
{
    color = c;
}

void Object::setOutlineColor(Util::Vector4D c)
{
    outlineColor = c;
}

void Object::setSelected(bool s)
{
    selected = s;
}

bool Object::isSelected() const
{
    return selected;
}

void Object::setPreviewDisplacement(Util::Vector3D d)
{
    previewDisplacement.x = d.x;
    previewDisplacement.y = d.y;
    previewDisplacement.z = d.z;
}

} // namespace Model
