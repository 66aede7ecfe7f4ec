#include "Model/Automaton/octreesurface.h"

#include "Model/Automaton/totalvolume.h"
#include "Model/Automaton/totalvolumepainter.h"
#include "Model/palette.h"

#include <QDebug>
#include <QElapsedTimer>

#include <GL/gl.h>

#include <algorithm>
#include <new>

namespace Model {
namespace Automaton {

namespace {

using Geometry::QuadFace;

// Octree sides: 0 +z, 1 -z, 2 -x, 3 +x, 4 -y, 5 +y; the opposite side is side ^ 1.
const int sideAxis[6] = {2, 2, 0, 0, 1, 1};
const bool sidePositive[6] = {true, false, false, true, false, true};
const int faceTableSide[6] = {QuadFace::Top,   QuadFace::Bottom, QuadFace::Left,
                              QuadFace::Right, QuadFace::Front,  QuadFace::Back};
// The bit of a child index that says which half of each axis (x, y, z) the child covers.
const int axisBit[3] = {4, 2, 1};
// Nodes per block of the pool: 512 groups of eight.
const std::size_t blockNodes = 4096;

void origin(const OctreeNode *node, quint32 out[3])
{
    out[0] = node->originX;
    out[1] = node->originY;
    out[2] = node->originZ;
}

void emitList(const std::vector<QuadFace> &faces, bool outline)
{
    glBegin(GL_QUADS);
    for (const QuadFace &face : faces) {
        if (!outline)
            glNormal3fv(face.normal);
        glColor4fv(outline ? face.outlineColor : face.color);
        for (int v = 0; v < 4; ++v)
            glVertex3fv(face.vertices[v]);
    }
    glEnd();
}

} // namespace

OctreeSurface::OctreeSurface(TotalVolume *volume)
    : volume(volume),
      materials(Materials::MaterialFactory::instance()), cellSize{volume->getCellSizeX(),
                                                                  volume->getCellSizeY(),
                                                                  volume->getCellSizeZ()},
      cells(nullptr), root(), hasRoot(false), selected(false), usedInLastBlock(0), cursor(nullptr)
{}

OctreeSurface::~OctreeSurface() = default;

void OctreeSurface::refreshLooks()
{
    looks.clear();
    auto makeLook = [](const float rgba[4]) {
        Look look;
        for (int i = 0; i < 4; ++i)
            look.color[i] = look.highlighted[i] = rgba[i];
        highlight(look.highlighted);
        look.alpha = rgba[3];
        return look;
    };
    for (const Materials::Material &material : materials->getMaterials())
        looks[material.getId()] = makeLook(material.getColor());
    unknownLook = makeLook(TotalVolumePainter::unknownMaterialColor);
}

const OctreeSurface::Look &OctreeSurface::look(quint32 material) const
{
    const auto it = looks.find(material);
    return it != looks.end() ? it->second : unknownLook;
}

OctreeNode *OctreeSurface::allocateGroup()
{
    if (!freeGroups.empty()) {
        OctreeNode *group = freeGroups.back();
        freeGroups.pop_back();
        return group;
    }
    if (blocks.empty() || usedInLastBlock == blockNodes) {
        blocks.emplace_back(new OctreeNode[blockNodes]);
        usedInLastBlock = 0;
    }
    OctreeNode *group = blocks.back().get() + usedInLastBlock;
    usedInLastBlock += 8;
    return group;
}

void OctreeSurface::releaseGroup(OctreeNode *group)
{
    freeGroups.push_back(group);
}

void OctreeSurface::releaseNodes()
{
    blocks.clear();
    freeGroups.clear();
    usedInLastBlock = 0;
    cursor = nullptr;
    hasRoot = false;
    root = OctreeNode();
}

void OctreeSurface::clear()
{
    std::vector<QuadFace>().swap(opaqueFaces);
    std::vector<QuadFace>().swap(translucentFaces);
    releaseNodes();
    lastError.clear();
}

std::size_t OctreeSurface::getNodeCount() const
{
    if (!hasRoot)
        return 0;
    std::size_t count = 1;
    std::vector<const OctreeNode *> stack{&root};
    while (!stack.empty()) {
        const OctreeNode *node = stack.back();
        stack.pop_back();
        if (node->leaf)
            continue;
        count += 8;
        for (const OctreeNode *child : node->children)
            stack.push_back(child);
    }
    return count;
}

std::size_t OctreeSurface::getMemoryBytes() const
{
    return blocks.size() * blockNodes * sizeof(OctreeNode) +
           freeGroups.capacity() * sizeof(OctreeNode *) +
           (opaqueFaces.capacity() + translucentFaces.capacity()) * sizeof(QuadFace);
}

void OctreeSurface::split(OctreeNode *node)
{
    OctreeNode *group = allocateGroup();
    const quint32 half = node->size / 2;
    for (int k = 0; k < 8; ++k) {
        OctreeNode &child = group[k];
        child.material = node->material;
        child.parent = node;
        std::fill(child.children, child.children + 8, nullptr);
        child.originX = node->originX + ((k & 4) ? half : 0);
        child.originY = node->originY + ((k & 2) ? half : 0);
        child.originZ = node->originZ + ((k & 1) ? half : 0);
        child.size = half;
        child.leaf = true;
        node->children[k] = &child;
    }
    node->leaf = false;
}

void OctreeSurface::insert(quint32 material, quint32 x, quint32 y, quint32 z)
{
    // Cells come in x, y, z order, so the next one is nearly always close to the last: start
    // from the node the last insert ended at and climb only as far as needed. That node is
    // alive, since an insert frees only nodes below where it ends.
    OctreeNode *node = cursor ? cursor : &root;
    while (node->parent && (x - node->originX >= node->size || y - node->originY >= node->size ||
                            z - node->originZ >= node->size))
        node = node->parent;
    while (node->size >= 2) {
        if (node->leaf) {
            // The cell lies in a cube of its material already: nothing to split.
            if (node->material == material) {
                cursor = node;
                return;
            }
            split(node);
        }
        const quint32 half = node->size / 2;
        const int k = ((x - node->originX >= half) ? 4 : 0) |
                      ((y - node->originY >= half) ? 2 : 0) | ((z - node->originZ >= half) ? 1 : 0);
        node = node->children[k];
    }
    node->material = material;
    cursor = node;
    while (OctreeNode *parent = node->parent) {
        for (const OctreeNode *child : parent->children)
            if (!child->leaf || child->material != material)
                return;
        releaseGroup(parent->children[0]);
        std::fill(parent->children, parent->children + 8, nullptr);
        parent->leaf = true;
        parent->material = material;
        node = parent;
        cursor = node;
    }
}

const OctreeNode *OctreeSurface::neighbour(const OctreeNode *leaf, int side) const
{
    qint64 p[3] = {leaf->originX, leaf->originY, leaf->originZ};
    const int axis = sideAxis[side];
    p[axis] += sidePositive[side] ? qint64(leaf->size) : -1;
    const qint64 rootOrigin[3] = {root.originX, root.originY, root.originZ};
    if (p[axis] < rootOrigin[axis] || p[axis] >= rootOrigin[axis] + root.size)
        return nullptr;
    // The node of the leaf's size across the side, or the larger leaf that contains it.
    const OctreeNode *node = &root;
    while (!node->leaf && node->size > leaf->size) {
        const qint64 half = node->size / 2;
        const int k = ((p[0] - node->originX >= half) ? 4 : 0) |
                      ((p[1] - node->originY >= half) ? 2 : 0) |
                      ((p[2] - node->originZ >= half) ? 1 : 0);
        node = node->children[k];
    }
    return node;
}

void OctreeSurface::emitFaces(const OctreeNode *node, int side, bool facingEmpty,
                              const quint32 cubeOrigin[3], quint32 cubeSize)
{
    if (!node->leaf) {
        const int axis = sideAxis[side];
        for (int k = 0; k < 8; ++k) {
            if (bool(k & axisBit[axis]) != sidePositive[side])
                continue;
            const OctreeNode *child = node->children[k];
            quint32 childOrigin[3];
            origin(child, childOrigin);
            emitFaces(child, side, facingEmpty, childOrigin, child->size);
        }
        return;
    }
    const quint32 m = node->material;
    if (m == 0)
        return;
    const Look &l = look(m);
    const bool opaque = l.alpha > opaqueAlpha;
    if (!opaque && !(facingEmpty && l.alpha > invisibleAlpha))
        return;
    float bounds[3][2];
    for (int axis = 0; axis < 3; ++axis) {
        bounds[axis][0] = float(cubeOrigin[axis]) * cellSize[axis];
        bounds[axis][1] = float(quint64(cubeOrigin[axis]) + cubeSize) * cellSize[axis];
    }
    std::vector<QuadFace> &list = opaque ? opaqueFaces : translucentFaces;
    list.emplace_back();
    QuadFace &face = list.back();
    face.setGeometry(faceTableSide[side], bounds[0], bounds[1], bounds[2]);
    face.setColors(selected ? l.highlighted : l.color);
    face.material = m;
}

void OctreeSurface::collectFaces(const OctreeNode *node)
{
    if (!node->leaf) {
        for (const OctreeNode *child : node->children)
            collectFaces(child);
        return;
    }
    const bool empty = node->material == 0;
    if (!empty && look(node->material).alpha >= opaqueAlpha)
        return;
    for (int side = 0; side < 6; ++side) {
        const OctreeNode *across = neighbour(node, side);
        if (!across)
            continue;
        // A larger leaf across shows only the part that faces this one, so no face is
        // emitted twice from the small leaves along it.
        quint32 cube[3];
        origin(node, cube);
        quint32 cubeSize = node->size;
        if (across->size > node->size) {
            const int axis = sideAxis[side];
            cube[axis] = sidePositive[side] ? cube[axis] + node->size : cube[axis] - node->size;
        } else {
            origin(across, cube);
            cubeSize = across->size;
        }
        emitFaces(across, side ^ 1, empty, cube, cubeSize);
    }
}

bool OctreeSurface::rebuild(const quint32 lower[3], const quint32 upper[3])
{
    QElapsedTimer timer;
    timer.start();
    clear();
    refreshLooks();
    selected = volume->isSelected();
    const quint32 counts[3] = {volume->getCellsX(), volume->getCellsY(), volume->getCellsZ()};
    quint32 low[3], high[3];
    quint32 extent = 0;
    for (int axis = 0; axis < 3; ++axis) {
        high[axis] = std::min(upper[axis], counts[axis]);
        low[axis] = std::min(lower[axis], high[axis]);
        if (high[axis] == low[axis])
            return true; // an empty box: no tree, no faces
        extent = std::max(extent, high[axis] - low[axis]);
    }
    quint64 size = 1;
    while (size < extent)
        size *= 2;

    root = OctreeNode();
    root.originX = low[0];
    root.originY = low[1];
    root.originZ = low[2];
    root.size = quint32(size);
    root.leaf = true;
    hasRoot = true;

    const quint64 cellsY = counts[1], cellsZ = counts[2];
    cells = volume->lockCells();
    try {
        for (quint32 x = low[0]; x < high[0]; ++x)
            for (quint32 y = low[1]; y < high[1]; ++y) {
                const Voxel *column = cells + (quint64(x) * cellsY + y) * cellsZ;
                for (quint32 z = low[2]; z < high[2]; ++z)
                    if (column[z].material != 0)
                        insert(column[z].material, x, y, z);
            }
        volume->releaseCells();
        cells = nullptr;
        collectFaces(&root);
        // The root's own boundary closes the surface where cells touch it.
        quint32 rootOrigin[3];
        origin(&root, rootOrigin);
        for (int side : {1, 0, 3, 2, 5, 4})
            emitFaces(&root, side, true, rootOrigin, root.size);
    } catch (const std::bad_alloc &) {
        if (cells) {
            volume->releaseCells();
            cells = nullptr;
        }
        clear();
        lastError = QStringLiteral("Cannot show the octree surface: out of memory.");
        qDebug() << lastError;
        return false;
    }
    qDebug() << "Built an octree of" << getNodeCount() << "nodes with" << opaqueFaces.size()
             << "opaque and" << translucentFaces.size() << "translucent faces; Elapsed time "
             << timer.elapsed() << "ms";
    return true;
}

void OctreeSurface::recolor()
{
    refreshLooks();
    selected = volume->isSelected();
    for (std::vector<QuadFace> *list : {&opaqueFaces, &translucentFaces}) {
        quint32 last = 0;
        const Look *current = &unknownLook;
        for (QuadFace &face : *list) {
            if (face.material != last || current == &unknownLook) {
                current = &look(face.material);
                last = face.material;
            }
            face.setColors(selected ? current->highlighted : current->color);
        }
    }
}

void OctreeSurface::draw(bool renderEdges, bool opaquePass)
{
    const std::vector<QuadFace> &faces = opaquePass ? opaqueFaces : translucentFaces;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    emitList(faces, false);
    if (renderEdges) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glDisable(GL_LIGHTING);
        // Only the line offset moves outlines drawn in line mode towards the viewer.
        glEnable(GL_POLYGON_OFFSET_FILL);
        glEnable(GL_POLYGON_OFFSET_LINE);
        glPolygonOffset(-2.5f, -2.5f);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glLineWidth(2.0f);
        emitList(faces, true);
        glPopAttrib();
    }
    glPopMatrix();
}

} // namespace Automaton
} // namespace Model
