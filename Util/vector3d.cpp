#include "Util/vector3d.h"

namespace Util {

Vector3D::~Vector3D() = default;

Vector3D &Vector3D::operator=(const Vector4D &v)
{
    x = v.x;
    y = v.y;
    z = v.z;
    return *this;
}

Vector3D &Vector3D::operator=(const Vector3D &v)
{
    x = v.x;
    y = v.y;
    z = v.z;
    return *this;
}

} // namespace Util
