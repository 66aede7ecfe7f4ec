#ifndef CELVANE_MODEL_MODELEXTRACTION_CANTILEVERMODELRULE_H
#define CELVANE_MODEL_MODELEXTRACTION_CANTILEVERMODELRULE_H

#include "Model/ModelExtraction/imodelrule.h"

namespace Model {
namespace ModelExtraction {

/// Finds cantilever beams: silicon envelopes are anchors; a tip is an envelope of another
/// material with one neighbour, not above or below it; each beam runs from its tip through
/// envelopes of its material towards the anchor and is merged into one box.
class CantileverModelRule : public IModelRule
{
public:
    CantileverModelRule();

    /// One CantileverStructure with the merged beams in tip order; none without a tip.
    QList<IStructure::Ptr> apply(const ExtractedModel &model) override;

    const QList<RectangularCuboidEnvelope::Ptr> &getAnchors() const { return anchors; }
    const QList<RectangularCuboidEnvelope::Ptr> &getBeams() const { return beams; }
    int getBeamCount() const { return beamCount; }

    /// The beam that starts at the tip, merged into one envelope of the tip's material.
    static RectangularCuboidEnvelope::Ptr mergeBeam(const RectangularCuboidEnvelope &tip);

private:
    QList<RectangularCuboidEnvelope::Ptr> anchors;
    QList<RectangularCuboidEnvelope::Ptr> beams;
    int beamCount;
};

} // namespace ModelExtraction
} // namespace Model

#endif
