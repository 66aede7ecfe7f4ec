#ifndef CELVANE_MODEL_AUTOMATON_ATOMICRENDERER_H
#define CELVANE_MODEL_AUTOMATON_ATOMICRENDERER_H

#include "Model/Geometry/clipplanes.h"

#include <QtGlobal>

#include <vector>

namespace Model {
namespace Automaton {

class TotalVolume;

/// Draws the silicon crystal of a volume: its present atoms (optionally those on the surface
/// only), the bonds between them, and the unit cells as translucent boxes and outlines. The
/// geometry is built on request into vertex arrays in the volume's own coordinates, leaving out
/// what lies beyond the volume's cut planes, and replayed by the painter's two drawing passes.
/// Nothing is built while the options that show it are off.
class AtomicRenderer
{
public:
    /// Colour of the unit-cell boxes: (127, 127, 255) at alpha 127.
    static constexpr float unitCellColor[4] = {127.0f / 255, 127.0f / 255, 1.0f, 127.0f / 255};
    static constexpr float unitCellOutlineColor[4] = {0.2f, 0.2f, 0.6f, 1.0f};
    static constexpr float atomColor[4] = {0.85f, 0.65f, 0.13f, 1.0f};
    static constexpr float linkColor[4] = {0.45f, 0.35f, 0.1f, 1.0f};

    AtomicRenderer(TotalVolume *volume, const Geometry::ClipPlanes &clipPlanes);

    /// Rebuilds the atoms and links of the present atoms of all stored unit cells.
    void buildAtoms();
    /// Rebuilds the boxes of the unit cells that still hold a present atom.
    void buildUnitCells();
    /// Solid pass: atoms and links.
    void drawSolid() const;
    /// Translucent pass (blending on, no depth writes): unit cells and their outlines.
    void drawTranslucent() const;

    void setRenderSiAtoms(bool on) { renderSiAtoms = on; }
    bool getRenderSiAtoms() const { return renderSiAtoms; }
    void setRenderSurfaceAtomsOnly(bool on) { renderSurfaceAtomsOnly = on; }
    bool getRenderSurfaceAtomsOnly() const { return renderSurfaceAtomsOnly; }
    void setRenderSiAtomLinks(bool on) { renderSiAtomLinks = on; }
    bool getRenderSiAtomLinks() const { return renderSiAtomLinks; }
    void setRenderSiUnitCells(bool on) { renderSiUnitCells = on; }
    bool getRenderSiUnitCells() const { return renderSiUnitCells; }
    void setRenderSiUnitCellOutlines(bool on) { renderSiUnitCellOutlines = on; }
    bool getRenderSiUnitCellOutlines() const { return renderSiUnitCellOutlines; }

    /// Vertices of the atoms (x, y, z each) of the last build.
    const std::vector<float> &getAtomVertices() const { return atomVertices; }
    /// Atoms, links and unit cells of the last builds.
    std::size_t getAtomCount() const { return atomVertices.size() / 3; }
    std::size_t getLinkCount() const { return linkVertices.size() / 6; }
    std::size_t getUnitCellCount() const { return unitCellVertices.size() / (3 * 24); }

private:
    TotalVolume *volume;
    const Geometry::ClipPlanes &clipPlanes;
    bool renderSiAtoms;
    bool renderSurfaceAtomsOnly;
    bool renderSiAtomLinks;
    bool renderSiUnitCells;
    bool renderSiUnitCellOutlines;
    /// x, y, z per vertex, relative to the volume's position.
    std::vector<float> atomVertices;
    std::vector<float> linkVertices;
    std::vector<float> unitCellVertices;
};

} // namespace Automaton
} // namespace Model

#endif
