#include "Model/Materials/material.h"

#include <cmath>

namespace Model {
namespace Materials {

namespace {
const float defaultColor[4] = {0.5f, 0.5f, 0.5f, 1.0f};
const float colorTolerance = 0.00390625f; // 1/256: one step of an 8-bit channel
} // namespace

Material::Material()
    : id(0), name(QStringLiteral("Empty")), density(0.0f), youngModulus(0.0f), poissonRatio(0.0f)
{
    setColor(defaultColor);
}

Material::Material(quint32 id, const QString &name, float density, float youngModulus,
                   float poissonRatio, const float *color)
    : id(id), name(name), density(density), youngModulus(youngModulus), poissonRatio(poissonRatio)
{
    setColor(color ? color : defaultColor);
}

void Material::getColor(float *rgba) const
{
    for (int i = 0; i < 4; ++i)
        rgba[i] = color[i];
}

void Material::setColor(const float *rgba)
{
    for (int i = 0; i < 4; ++i)
        color[i] = rgba[i];
}

void Material::setColor(float r, float g, float b, float a)
{
    color[0] = r;
    color[1] = g;
    color[2] = b;
    color[3] = a;
}

bool Material::operator==(const Material &o) const
{
    if (id != o.id || name != o.name)
        return false;
    for (int i = 0; i < 4; ++i) {
        if (std::fabs(color[i] - o.color[i]) > colorTolerance)
            return false;
    }
    return true;
}

} // namespace Materials
} // namespace Model
