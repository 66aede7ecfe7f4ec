#ifndef CELVANE_MODEL_AUTOMATON_OCTREENODE_H
#define CELVANE_MODEL_AUTOMATON_OCTREENODE_H

#include <QtGlobal>

namespace Model {
namespace Automaton {

/// A cube of cells in an octree surface: a leaf of one material, or eight children of half its
/// size. Child k covers the octant at origin + size / 2 * (k bit 2, k bit 1, k bit 0) in
/// (x, y, z).
struct OctreeNode
{
    /// The material of a leaf; 0 is empty.
    quint32 material;
    /// Null at the root.
    OctreeNode *parent;
    /// All null in a leaf.
    OctreeNode *children[8];
    /// Lower corner, in cells.
    quint32 originX;
    quint32 originY;
    quint32 originZ;
    /// Edge in cells, a power of two.
    quint32 size;
    bool leaf;
};

} // namespace Automaton
} // namespace Model

#endif
