#ifndef CELVANE_MODEL_AUTOMATON_TOTALVOLUMEPAINTER_H
#define CELVANE_MODEL_AUTOMATON_TOTALVOLUMEPAINTER_H

#include "Model/Automaton/atomicrenderer.h"
#include "Model/Automaton/marchingcubesurface.h"
#include "Model/Automaton/octreesurface.h"
#include "Model/Geometry/clipplanes.h"
#include "Model/Geometry/quadfacelist.h"
#include "Model/Materials/materialfactory.h"

#include <QMutex>
#include <QString>
#include <QtGlobal>

#include <array>
#include <map>
#include <utility>
#include <vector>

namespace Model {
namespace Automaton {

class TotalVolume;
class Voxel;

/// Turns the cells of one volume into OpenGL geometry: the visible faces of the occupied cells
/// as flat quads coloured by material, or one of the surfaces it owns (marching cubes, octree).
/// Faces are built on request only (refresh), split into x slabs over Qt's global thread pool with
/// the same face order for any thread count, and kept between repaints; draw only replays them.
/// Everything but the build tasks runs on the GUI thread.
class TotalVolumePainter
{
public:
    typedef std::array<float, 4> Color;

    /// Surface algorithms, as listed in the visualization options.
    enum SurfaceAlgorithm
    {
        DirectCubicAlgorithm = 0,
        MarchingCubesAlgorithm = 1,
        OctreeAlgorithm = 2,
        SurfaceAlgorithmCount = 3
    };

    /// Colour of cells whose material is not in the catalogue: never skipped silently.
    static constexpr float unknownMaterialColor[4] = {1.0f, 0.0f, 1.0f, 1.0f};
    /// Colour of the outlines of empty cells.
    static constexpr float emptyCellColor[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    /// A cell is drawn among the opaque faces when its alpha is at least this.
    static constexpr float opaqueAlpha = 0.997f;
    /// A neighbour hides an opaque cell's face only when its alpha is above this.
    static constexpr float hidingAlpha = 0.999f;
    /// Translucent materials this faint or fainter show their internal faces too.
    static constexpr float faintAlpha = 0.1f;

    /// Reads cell counts and sizes of volume (which must have them set already); the face
    /// lists start empty and the cut box is the whole volume.
    explicit TotalVolumePainter(TotalVolume *volume);
    TotalVolumePainter(const TotalVolumePainter &) = delete;
    TotalVolumePainter &operator=(const TotalVolumePainter &) = delete;
    ~TotalVolumePainter();

    /// Rebuilds everything that depends on the cells: the cubic faces, the surface of the
    /// selected algorithm and, when they are shown, the outlines of empty cells. Waits for
    /// cellsLock; blocks until done.
    void refresh();
    /// Recomputes the face colours from the catalogue and the selection state without
    /// rebuilding geometry. Selected colours are always derived from the material colours, so
    /// repeated calls give the same picture. Without waitForCells nothing changes, and the
    /// result is false, while another holds the cells.
    bool recolor(bool waitForCells = true);
    /// Draws the volume. renderObjects false draws nothing at all; renderEdges adds outlines.
    /// Needs a current OpenGL context with the fixed-function pipeline.
    void draw(bool renderObjects, bool renderEdges);
    /// Draws the volume's bounding box for selection-mode picking.
    void drawForPicking();

    /// Rebuilds opaque and translucent faces of the occupied cells inside the cut box.
    void buildCubicFaces();
    /// Rebuilds the six grey faces of every empty cell inside the cut box.
    void buildEmptyCellFaces();

    /// Shows only cells with lower <= coordinate < upper on each axis and replaces the clip
    /// planes accordingly. Limits beyond the volume are clamped to it, and a lower limit above
    /// the upper one leaves that axis empty. Call refresh() afterwards.
    void setCutLimits(const quint32 lower[3], const quint32 upper[3]);
    void getCutLimits(quint32 lower[3], quint32 upper[3]) const;
    /// The cut planes, shared with renderers that do not draw cells.
    const Geometry::ClipPlanes &getClipPlanes() const { return clipPlanes; }

    /// While suspended, draw draws nothing.
    void setSuspended(bool s) { suspended = s; }
    bool isSuspended() const { return suspended; }

    /// Outlines of empty cells; built by the next refresh(). Switching them off frees them.
    void setShowEmptyVoxelOutlines(bool show);
    bool getShowEmptyVoxelOutlines() const { return showEmptyVoxelOutlines; }

    /// 0 direct cubic faces, 1 marching cubes, 2 octree. A new value rebuilds the cubic faces
    /// and the surface it selects and frees the other surface; values outside 0..2 are
    /// ignored. With rebuild false only the choice changes, for a caller that refreshes the
    /// whole picture right after (a surface of a large volume takes seconds to build).
    void setSurfaceAlgorithm(quint32 algorithm, bool rebuild = true);
    quint32 getSurfaceAlgorithm() const { return surfaceAlgorithm; }

    /// Options of the atomic view of silicon, handed to the atomic renderer; the next refresh()
    /// builds what they show.
    void setRenderSiAtoms(bool on) { atomicRenderer.setRenderSiAtoms(on); }
    bool getRenderSiAtoms() const { return atomicRenderer.getRenderSiAtoms(); }
    void setRenderSurfaceAtomsOnly(bool on) { atomicRenderer.setRenderSurfaceAtomsOnly(on); }
    bool getRenderSurfaceAtomsOnly() const { return atomicRenderer.getRenderSurfaceAtomsOnly(); }
    void setRenderSiAtomLinks(bool on) { atomicRenderer.setRenderSiAtomLinks(on); }
    bool getRenderSiAtomLinks() const { return atomicRenderer.getRenderSiAtomLinks(); }
    void setRenderSiUnitCells(bool on) { atomicRenderer.setRenderSiUnitCells(on); }
    bool getRenderSiUnitCells() const { return atomicRenderer.getRenderSiUnitCells(); }
    void setRenderSiUnitCellOutlines(bool on) { atomicRenderer.setRenderSiUnitCellOutlines(on); }
    bool getRenderSiUnitCellOutlines() const
    {
        return atomicRenderer.getRenderSiUnitCellOutlines();
    }
    const AtomicRenderer &getAtomicRenderer() const { return atomicRenderer; }

    /// Material colours as of the last build or recolour, by material id.
    const std::map<quint32, Color> &getColorMap() const { return colorMap; }
    const Geometry::QuadFaceList &getOpaqueFaces() const { return opaqueFaces; }
    const Geometry::QuadFaceList &getTranslucentFaces() const { return translucentFaces; }
    const Geometry::QuadFaceList &getEmptyCellFaces() const { return emptyCellFaces; }
    const MarchingCubeSurface &getMarchingCubes() const { return marchingCubes; }
    const OctreeSurface &getOctree() const { return octree; }

    /// Why the last build left faces out (not enough memory), or empty when it was complete.
    QString getLastError() const;

    /// How a material is drawn, derived once per build from the colour map.
    struct MaterialLook
    {
        float color[4];
        float highlighted[4];
        bool opaque;
        bool hidesNeighbours;
        bool showsInternalFaces;
    };

private:
    void refreshColorMap();
    /// The cut box under its lock, clamped to the volume.
    void readCutBox(quint32 lower[3], quint32 upper[3]) const;
    const MaterialLook &look(quint32 material) const;
    void recolorFaces(Geometry::QuadFaceList &faces, bool selected) const;
    /// Rebuilds the surface of the selected algorithm and frees the one not shown.
    void buildSurface();
    /// The solid pass of the cubic faces, with the outlines of all face lists.
    void drawCubicFaces(bool renderEdges);

    Materials::MaterialFactory::Ptr materials;
    TotalVolume *volume;
    bool showEmptyVoxelOutlines;
    bool suspended;
    /// The selection state that the face colours show now.
    bool colorsSelected;
    quint32 surfaceAlgorithm;
    quint32 cellsX;
    quint32 cellsY;
    quint32 cellsZ;
    float cellSizeX;
    float cellSizeY;
    float cellSizeZ;
    mutable QMutex cutMutex;
    quint32 cutLower[3];
    quint32 cutUpper[3];
    Geometry::ClipPlanes clipPlanes;
    MarchingCubeSurface marchingCubes;
    OctreeSurface octree;
    AtomicRenderer atomicRenderer;
    std::map<quint32, Color> colorMap;
    /// Looks of the catalogue materials; entry 0 is the fallback for unknown ids.
    std::vector<MaterialLook> looks;
    /// Index into looks for every id below its size (0 for ids not in the catalogue).
    std::vector<quint32> lookIndex;
    /// (id, index into looks) for catalogue ids too large for lookIndex, sorted by id.
    std::vector<std::pair<quint32, quint32>> largeIdLooks;
    Geometry::QuadFaceList opaqueFaces;
    Geometry::QuadFaceList translucentFaces;
    Geometry::QuadFaceList emptyCellFaces;
    QString cubicError;
    QString emptyCellError;
};

} // namespace Automaton
} // namespace Model

#endif
