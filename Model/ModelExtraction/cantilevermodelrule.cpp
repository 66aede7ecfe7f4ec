#include "Model/ModelExtraction/cantilevermodelrule.h"

#include "Model/ModelExtraction/cantileverstructure.h"

#include <algorithm>

namespace Model {
namespace ModelExtraction {

namespace {
const quint32 silicon = 1;
}

CantileverModelRule::CantileverModelRule() : beamCount(0) {}

RectangularCuboidEnvelope::Ptr CantileverModelRule::mergeBeam(const RectangularCuboidEnvelope &tip)
{
    int direction = 3;
    for (int face = 0; face < 3; ++face) {
        if (tip.neighbours[face]) {
            direction = face;
            break;
        }
    }
    // The merged beam is the box around the tip and every piece walked: the same as adding
    // each piece's length when the walk goes towards lower coordinates, and still right when
    // it goes towards higher ones.
    quint32 lo[3] = {tip.x, tip.y, tip.z};
    quint32 hi[3] = {tip.x + tip.sizeX, tip.y + tip.sizeY, tip.z + tip.sizeZ};
    for (const RectangularCuboidEnvelope *n = tip.neighbours[direction];
         n && n->material == tip.material && n->neighbourCount == 2 && n->neighbours[direction];
         n = n->neighbours[direction]) {
        for (int axis = 0; axis < 3; ++axis) {
            lo[axis] = std::min(lo[axis], n->corner(axis));
            hi[axis] = std::max(hi[axis], n->corner(axis) + n->size(axis));
        }
    }
    return RectangularCuboidEnvelope::Ptr(new RectangularCuboidEnvelope(
        lo[0], lo[1], lo[2], hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2], tip.material));
}

QList<IStructure::Ptr> CantileverModelRule::apply(const ExtractedModel &model)
{
    anchors.clear();
    beams.clear();
    for (const RectangularCuboidEnvelope::Ptr &envelope : model.getEnvelopes()) {
        if (envelope->material == silicon) {
            anchors << envelope;
            continue;
        }
        const bool tip =
            envelope->neighbourCount == 1 && !envelope->neighbours[4] && !envelope->neighbours[5];
        if (tip)
            beams << mergeBeam(*envelope);
    }
    beamCount = beams.size();
    QList<IStructure::Ptr> structures;
    if (!beams.isEmpty())
        structures << IStructure::Ptr(new CantileverStructure(beams));
    return structures;
}

} // namespace ModelExtraction
} // namespace Model
