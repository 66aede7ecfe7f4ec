#ifndef CELVANE_MODEL_AUTOMATON_OCTREESURFACE_H
#define CELVANE_MODEL_AUTOMATON_OCTREESURFACE_H

#include "Model/Automaton/octreenode.h"
#include "Model/Geometry/quadface.h"
#include "Model/Materials/materialfactory.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <vector>

namespace Model {
namespace Automaton {

class TotalVolume;
class Voxel;

/// The cells of a cut box merged into an octree of uniform cubes, drawn as the faces of its
/// leaves: opaque leaves show their faces towards empty and translucent leaves and towards the
/// boundary, translucent leaves only towards empty space. Large uniform regions so cost a few
/// large faces instead of one face per cell. Faces carry their material id, not a cell.
class OctreeSurface
{
public:
    typedef std::array<float, 4> Color;

    /// A leaf is translucent when its alpha is below this; faces above it are opaque.
    static constexpr float opaqueAlpha = 0.999f;
    /// Faces this faint or fainter are not drawn even towards empty space.
    static constexpr float invisibleAlpha = 0.001f;

    explicit OctreeSurface(TotalVolume *volume);
    OctreeSurface(const OctreeSurface &) = delete;
    OctreeSurface &operator=(const OctreeSurface &) = delete;
    ~OctreeSurface();

    /// Rebuilds the tree and the faces for the cells with lower <= index < upper on every axis
    /// (clamped to the volume). Holds cellsLock while it reads. False, with nothing to draw and
    /// getLastError() saying why, when memory runs out.
    bool rebuild(const quint32 lower[3], const quint32 upper[3]);
    /// Draws the opaque or the translucent faces, with outlines when renderEdges.
    void draw(bool renderEdges, bool opaquePass);
    /// Face colours from the catalogue, highlighted while the volume is selected.
    void recolor();
    /// Frees the tree and the faces.
    void clear();

    const std::vector<Geometry::QuadFace> &getOpaqueFaces() const { return opaqueFaces; }
    const std::vector<Geometry::QuadFace> &getTranslucentFaces() const { return translucentFaces; }
    /// Null when nothing has been built.
    const OctreeNode *getRoot() const { return hasRoot ? &root : nullptr; }
    std::size_t getNodeCount() const;
    /// Bytes held by the nodes and the faces.
    std::size_t getMemoryBytes() const;
    QString getLastError() const { return lastError; }

private:
    struct Look
    {
        float color[4];
        float highlighted[4];
        float alpha;
    };

    void refreshLooks();
    const Look &look(quint32 material) const;
    void insert(quint32 material, quint32 x, quint32 y, quint32 z);
    void split(OctreeNode *node);
    OctreeNode *allocateGroup();
    void releaseGroup(OctreeNode *group);
    void collectFaces(const OctreeNode *node);
    const OctreeNode *neighbour(const OctreeNode *leaf, int side) const;
    void emitFaces(const OctreeNode *node, int side, bool facingEmpty, const quint32 origin[3],
                   quint32 size);
    void releaseNodes();

    TotalVolume *volume;
    Materials::MaterialFactory::Ptr materials;
    std::vector<Geometry::QuadFace> opaqueFaces;
    std::vector<Geometry::QuadFace> translucentFaces;
    float cellSize[3];
    /// The volume's current cells during a rebuild, null otherwise.
    const Voxel *cells;
    OctreeNode root;
    bool hasRoot;
    bool selected;
    /// Children come in groups of eight from blocks, so a split allocates nothing per cell
    /// and merged groups are reused.
    std::vector<std::unique_ptr<OctreeNode[]>> blocks;
    std::size_t usedInLastBlock;
    std::vector<OctreeNode *> freeGroups;
    /// Where the last insert ended; null before the first.
    OctreeNode *cursor;
    std::map<quint32, Look> looks;
    Look unknownLook;
    QString lastError;
};

} // namespace Automaton
} // namespace Model

#endif
