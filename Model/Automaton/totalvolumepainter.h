#ifndef CELVANE_MODEL_AUTOMATON_TOTALVOLUMEPAINTER_H
#define CELVANE_MODEL_AUTOMATON_TOTALVOLUMEPAINTER_H

namespace Model {
namespace Automaton {

class TotalVolume;

/// Turns the cells of one volume into OpenGL geometry. Faces are built on request only.
class TotalVolumePainter
{
public:
    explicit TotalVolumePainter(TotalVolume *volume);
    TotalVolumePainter(const TotalVolumePainter &) = delete;
    TotalVolumePainter &operator=(const TotalVolumePainter &) = delete;

    /// Rebuilds everything that depends on the cells.
    void refresh();
    /// Recomputes face colours without rebuilding geometry.
    void recolor();
    void draw(bool renderObjects, bool renderEdges);
    void drawForPicking();

private:
    TotalVolume *volume;
};

} // namespace Automaton
} // namespace Model

#endif
