#include "Model/Automaton/atomicrenderer.h"

#include "Model/Automaton/totalvolume.h"

#include <QDebug>

#include <GL/gl.h>

#include <new>

namespace Model {
namespace Automaton {

namespace {

/// Positions relative to the volume, and the test against the cut planes (in cell units).
struct Frame
{
    Util::Vector3D base;
    double size[3];
    std::vector<Util::Vector4D> planes;

    void local(const Util::Vector3D &p, float out[3]) const
    {
        out[0] = float(p.x - base.x);
        out[1] = float(p.y - base.y);
        out[2] = float(p.z - base.z);
    }
    bool kept(const float p[3]) const
    {
        const double x = p[0] / size[0], y = p[1] / size[1], z = p[2] / size[2];
        for (const Util::Vector4D &plane : planes)
            if (plane.x * x + plane.y * y + plane.z * z + plane.w > 0.0)
                return false;
        return true;
    }
};

Frame frameOf(const TotalVolume &volume, const SiLattice &lattice,
              const Geometry::ClipPlanes &clipPlanes)
{
    // Atoms are drawn relative to the volume's position when the crystal was built, so they
    // follow the volume.
    const Util::Vector3D built = lattice.getVolumePosition();
    return Frame{built,
                 {volume.getCellSizeX(), volume.getCellSizeY(), volume.getCellSizeZ()},
                 clipPlanes.getPlanes()};
}

void append(std::vector<float> &list, const float p[3])
{
    list.insert(list.end(), p, p + 3);
}

void drawArray(const std::vector<float> &vertices, GLenum mode)
{
    if (vertices.empty())
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertices.data());
    glDrawArrays(mode, 0, GLsizei(vertices.size() / 3));
    glDisableClientState(GL_VERTEX_ARRAY);
}

} // namespace

constexpr float AtomicRenderer::unitCellColor[4];
constexpr float AtomicRenderer::unitCellOutlineColor[4];
constexpr float AtomicRenderer::atomColor[4];
constexpr float AtomicRenderer::linkColor[4];

AtomicRenderer::AtomicRenderer(TotalVolume *volume, const Geometry::ClipPlanes &clipPlanes)
    : volume(volume), clipPlanes(clipPlanes), renderSiAtoms(false), renderSurfaceAtomsOnly(false),
      renderSiAtomLinks(false), renderSiUnitCells(false), renderSiUnitCellOutlines(false)
{}

void AtomicRenderer::buildAtoms()
{
    qDebug() << "Building atoms";
    std::vector<float>().swap(atomVertices);
    std::vector<float>().swap(linkVertices);
    const SiLattice::Ptr lattice = volume->getSiLattice();
    if (!lattice || (!renderSiAtoms && !renderSiAtomLinks))
        return;
    const Frame frame = frameOf(*volume, *lattice, clipPlanes);
    // A running etch holds the cells while it changes atoms.
    volume->lockCells();
    try {
        for (const auto &entry : lattice->getCells())
            for (int a = 0; a < SiCell::atomCount; ++a) {
                const SiAtom *atom = entry.second->getAtom(a);
                if (atom->getState() != SiAtom::Present)
                    continue;
                float p[3];
                frame.local(atom->getPosition(), p);
                if (!frame.kept(p))
                    continue;
                if (renderSiAtoms && (!renderSurfaceAtomsOnly || atom->isSurface()))
                    append(atomVertices, p);
                if (!renderSiAtomLinks)
                    continue;
                for (int k = 0; k < 4; ++k) {
                    const SiAtom *n = atom->getNeighbor(k);
                    // Each bond once, from its lower end in memory.
                    if (!n || n->getState() != SiAtom::Present || n < atom)
                        continue;
                    float q[3];
                    frame.local(n->getPosition(), q);
                    if (!frame.kept(q))
                        continue;
                    append(linkVertices, p);
                    append(linkVertices, q);
                }
            }
    } catch (const std::bad_alloc &) {
        std::vector<float>().swap(atomVertices);
        std::vector<float>().swap(linkVertices);
        qDebug() << "Not enough memory to show the atoms";
    }
    volume->releaseCells();
}

void AtomicRenderer::buildUnitCells()
{
    qDebug() << "Building unit cells";
    std::vector<float>().swap(unitCellVertices);
    const SiLattice::Ptr lattice = volume->getSiLattice();
    if (!lattice || (!renderSiUnitCells && !renderSiUnitCellOutlines))
        return;
    const Frame frame = frameOf(*volume, *lattice, clipPlanes);
    const Util::Vector3D *c = lattice->getUnitCellCorners();
    // Six faces of four corners each.
    static const int faces[6][4] = {{0, 2, 6, 4}, {1, 5, 7, 3}, {0, 4, 5, 1},
                                    {4, 6, 7, 5}, {6, 2, 3, 7}, {2, 0, 1, 3}};
    volume->lockCells();
    try {
        for (const auto &entry : lattice->getCells()) {
            const SiCell &cell = *entry.second;
            bool holdsAtoms = false;
            for (int a = 0; a < SiCell::atomCount && !holdsAtoms; ++a)
                holdsAtoms = cell.getAtom(a)->getState() == SiAtom::Present;
            float origin[3];
            frame.local(cell.getPosition(), origin);
            if (!holdsAtoms || !frame.kept(origin))
                continue;
            for (const auto &face : faces)
                for (int corner : face) {
                    const float p[3] = {origin[0] + float(c[corner].x),
                                        origin[1] + float(c[corner].y),
                                        origin[2] + float(c[corner].z)};
                    append(unitCellVertices, p);
                }
        }
    } catch (const std::bad_alloc &) {
        std::vector<float>().swap(unitCellVertices);
        qDebug() << "Not enough memory to show the unit cells";
    }
    volume->releaseCells();
}

void AtomicRenderer::drawSolid() const
{
    if (atomVertices.empty() && linkVertices.empty())
        return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    if (renderSiAtoms) {
        glPointSize(5.0f);
        glEnable(GL_POINT_SMOOTH);
        glColor4fv(atomColor);
        drawArray(atomVertices, GL_POINTS);
    }
    if (renderSiAtomLinks) {
        glLineWidth(1.5f);
        glColor4fv(linkColor);
        drawArray(linkVertices, GL_LINES);
    }
    glPopAttrib();
}

void AtomicRenderer::drawTranslucent() const
{
    if (unitCellVertices.empty())
        return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    if (renderSiUnitCells) {
        glColor4fv(unitCellColor);
        drawArray(unitCellVertices, GL_QUADS);
    }
    if (renderSiUnitCellOutlines) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glColor4fv(unitCellOutlineColor);
        drawArray(unitCellVertices, GL_QUADS);
    }
    glPopAttrib();
}

} // namespace Automaton
} // namespace Model
