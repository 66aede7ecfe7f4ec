#ifndef CELVANE_MODEL_MODELEXTRACTION_EXTRACTEDMODEL_H
#define CELVANE_MODEL_MODELEXTRACTION_EXTRACTEDMODEL_H

#include "Model/ModelExtraction/rectangularcuboidenvelope.h"
#include "Model/object.h"

#include <QList>

namespace Model {
namespace ModelExtraction {

/// The envelopes of a model extraction shown in the scene while the extraction runs.
class ExtractedModel : public Object
{
public:
    typedef boost::shared_ptr<ExtractedModel> Ptr;
    typedef QList<RectangularCuboidEnvelope::Ptr> EnvelopeList;

    explicit ExtractedModel(const EnvelopeList &envelopes);

    qint32 getType() const override { return 2; }
    void draw(bool a, bool b) override;
    void drawForPicking() override;
    boost::shared_ptr<Object> clone() override;
    void translate(Util::Vector4D d) override;
    void transform(Util::Vector4D, Util::Vector4D) override {}
    bool getBounds(Util::Vector3D &lower, Util::Vector3D &upper) const override;

    const EnvelopeList &getEnvelopes() const { return envelopes; }
    Util::Vector3D getOffset() const { return Util::Vector3D(offset[0], offset[1], offset[2]); }

private:
    /// Offset and preview displacement applied, drawing each envelope in turn.
    template <class Draw> void drawPlaced(Draw drawEnvelope) const;

    EnvelopeList envelopes;
    float offset[3];
};

} // namespace ModelExtraction
} // namespace Model

#endif
