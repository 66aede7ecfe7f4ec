#ifndef CELVANE_UTIL_VECTOR4D_H
#define CELVANE_UTIL_VECTOR4D_H

namespace Util {

/// Four doubles for positions, displacements and RGBA colours.
/// The components are contiguous so data() can go straight to glColor4dv and friends.
class Vector4D
{
public:
    Vector4D() : x(0.0), y(0.0), z(0.0), w(0.0) {}
    explicit Vector4D(double v) : x(v), y(v), z(v), w(v) {}
    Vector4D(double x, double y, double z, double w) : x(x), y(y), z(z), w(w) {}
    Vector4D(const Vector4D &) = default;
    Vector4D &operator=(const Vector4D &) = default;
    virtual ~Vector4D();

    /// 0 -> x, 1 -> y, 2 -> z, every other index -> w.
    double &operator[](int i);
    double operator[](int i) const;

    double *data() { return &x; }
    const double *data() const { return &x; }

    Vector4D operator+(const Vector4D &o) const;
    Vector4D operator-(const Vector4D &o) const;
    Vector4D &operator+=(const Vector4D &o);

    bool operator==(const Vector4D &o) const;
    bool operator!=(const Vector4D &o) const { return !(*this == o); }

    double x;
    double y;
    double z;
    double w;
};

Vector4D operator*(double s, const Vector4D &v);

} // namespace Util

#endif
