#ifndef CELVANE_MODEL_AUTOMATON_TRIANGLE_H
#define CELVANE_MODEL_AUTOMATON_TRIANGLE_H

#include <QtGlobal>

#include <type_traits>

namespace Model {
namespace Automaton {

/// One triangle of a marching-cubes surface, in the volume's local coordinates. A plain record:
/// surfaces hold millions of them.
struct Triangle
{
    struct Vertex
    {
        float position[3];
        float normal[3];
        /// The material whose colour the vertex shows.
        quint32 material;
    };

    Vertex vertices[3];
};

static_assert(std::is_trivial<Triangle>::value, "triangles are copied bitwise");

} // namespace Automaton
} // namespace Model

#endif
