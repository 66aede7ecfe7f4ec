#ifndef CELVANE_UTIL_VECTOR3D_H
#define CELVANE_UTIL_VECTOR3D_H

#include "Util/vector4d.h"

namespace Util {

/// A Vector4D whose w stays 0: positions and displacements.
class Vector3D : public Vector4D
{
public:
    Vector3D() : Vector4D() {}
    explicit Vector3D(double v) : Vector4D(v, v, v, 0.0) {}
    Vector3D(double x, double y, double z) : Vector4D(x, y, z, 0.0) {}
    Vector3D(const Vector4D &v) : Vector4D(v.x, v.y, v.z, 0.0) {}
    Vector3D(const Vector3D &) = default;
    ~Vector3D() override;

    /// Copies x, y and z only.
    Vector3D &operator=(const Vector4D &v);
    Vector3D &operator=(const Vector3D &v);
};

} // namespace Util

#endif
