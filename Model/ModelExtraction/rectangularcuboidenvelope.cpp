#include "Model/ModelExtraction/rectangularcuboidenvelope.h"

#include <GL/gl.h>

namespace Model {
namespace ModelExtraction {

const float RectangularCuboidEnvelope::displayScale[3] = {1.0f, 1.0f, 0.35355246f};

RectangularCuboidEnvelope::RectangularCuboidEnvelope(quint32 x, quint32 y, quint32 z, quint32 sizeX,
                                                     quint32 sizeY, quint32 sizeZ, quint32 material)
    : x(x), y(y), z(z), sizeX(sizeX), sizeY(sizeY), sizeZ(sizeZ), material(material),
      neighbourCount(0)
{
    neighbours.fill(nullptr);
}

void RectangularCuboidEnvelope::setNeighbour(int face, RectangularCuboidEnvelope *neighbour)
{
    if (!neighbours[face] && neighbour)
        ++neighbourCount;
    else if (neighbours[face] && !neighbour)
        --neighbourCount;
    neighbours[face] = neighbour;
}

void RectangularCuboidEnvelope::draw(const float colour[3]) const
{
    const float lo[3] = {x * displayScale[0], y * displayScale[1], z * displayScale[2]};
    const float hi[3] = {(x + sizeX) * displayScale[0], (y + sizeY) * displayScale[1],
                         (z + sizeZ) * displayScale[2]};
    // Per face: the axis it faces along, its side, and its corners counter-clockwise seen from
    // outside (bit 0 picks x, bit 1 y, bit 2 z from hi rather than lo).
    static const int corners[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                      {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
    auto emit = [&](int face) {
        const int axis = face / 2;
        float normal[3] = {0.0f, 0.0f, 0.0f};
        normal[axis] = face % 2 ? 1.0f : -1.0f;
        glNormal3fv(normal);
        for (int c : corners[face])
            glVertex3f(c & 1 ? hi[0] : lo[0], c & 2 ? hi[1] : lo[1], c & 4 ? hi[2] : lo[2]);
    };
    glColor3fv(colour);
    glBegin(GL_QUADS);
    for (int face = 0; face < 6; ++face)
        emit(face);
    glEnd();
    glColor3f(0.25f, 0.25f, 0.25f);
    for (int face = 0; face < 6; ++face) {
        glBegin(GL_LINE_LOOP);
        emit(face);
        glEnd();
    }
}

} // namespace ModelExtraction
} // namespace Model
