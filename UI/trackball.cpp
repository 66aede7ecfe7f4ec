#include "UI/trackball.h"

#include <algorithm>
#include <cmath>

namespace Ui {

namespace {

const double degreesPerRadian = 57.29577951308232;

void cross(const double a[3], const double b[3], double out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

double length(const double v[3])
{
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

/// The root of a squared height, or 0 outside the ball.
double lift(double squared)
{
    return squared > 0.0 ? std::sqrt(squared) : 0.0;
}

} // namespace

Trackball::Trackball()
    : width(1), height(1), radius(0.5), scale(1.0),
      mode(Rotate), start{0, 0, 0}, points{{0, 0, 0}, {0, 0, 0}}, current(0)
{}

void Trackball::setViewport(int w, int h)
{
    width = std::max(1, w);
    height = std::max(1, h);
    radius = std::max(width, height) / 2.0;
}

void Trackball::setScale(double s)
{
    scale = s;
}

void Trackball::map(int x, int y, bool starting, double *out) const
{
    const double px = x - width / 2.0;
    const double py = height / 2.0 - y;
    out[0] = px;
    out[1] = py;
    out[2] = 0.0;
    const double w2 = double(width) * width;
    const double h2 = double(height) * height;
    const double span = (double(height) + width) * (double(height) + width) / 4.0;
    switch (mode) {
    case Light:
        out[2] = lift(radius * radius - px * px - py * py);
        break;
    case Sphere:
        if (!starting)
            out[2] = lift(start[0] * start[0] + start[1] * start[1] - px * px - py * py);
        break;
    case Rotate:
        if (starting)
            out[2] = lift((1.0 - 4.0 * px * px / w2 - 4.0 * py * py / h2) * span);
        else
            out[2] = lift((1.0 - px * px / w2 - py * py / h2) * span);
        break;
    default:
        break;
    }
}

void Trackball::begin(int x, int y, int m)
{
    mode = m;
    map(x, y, true, start);
    for (int i = 0; i < 3; ++i) {
        points[0][i] = start[i];
        points[1][i] = start[i];
    }
    current = 0;
}

void Trackball::move(int x, int y)
{
    current = 1 - current;
    map(x, y, false, points[current]);
}

void Trackball::delta(double *out, int m) const
{
    if (m != mode)
        return;
    const double *now = points[current];
    const double *before = points[1 - current];
    switch (mode) {
    case Sphere:
    case Rotate: {
        // The normal of the triangle (current, previous, centre) is the axis that carries
        // previous to current.
        const double toCentre[3] = {-before[0], -before[1], -before[2]};
        const double step[3] = {before[0] - now[0], before[1] - now[1], before[2] - now[2]};
        double axis[3];
        cross(toCentre, step, axis);
        const double axisLength = length(axis);
        const double lengths = length(now) * length(before);
        if (axisLength == 0.0 || lengths == 0.0) {
            out[0] = 0.0;
            out[1] = 0.0;
            out[2] = 1.0;
            out[3] = 0.0;
            return;
        }
        for (int i = 0; i < 3; ++i)
            out[i] = axis[i] / axisLength;
        double turn[3];
        cross(now, before, turn);
        out[3] = std::asin(std::min(1.0, length(turn) / lengths)) * degreesPerRadian;
        break;
    }
    case Light:
        for (int i = 0; i < 3; ++i)
            out[i] = now[i];
        break;
    case Pan:
        out[0] = (now[0] - before[0]) * scale;
        out[1] = (now[1] - before[1]) * scale;
        break;
    default:
        break;
    }
}

} // namespace Ui
