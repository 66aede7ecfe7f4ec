#include "Model/ModelExtraction/extractedmodel.h"

#include <GL/gl.h>

#include <algorithm>
#include <limits>

namespace Model {
namespace ModelExtraction {

namespace {
const float fillColours[14][3] = {
    {1, 0, 0},    {1, 1, 0},       {1, 1, 1},       {0, 1, 0},       {0, 1, 1},
    {1, 0, 1},    {0, 0, 1},       {0.5f, 0, 0},    {0.5f, 0.5f, 0}, {0.5f, 0.5f, 0.5f},
    {0, 0.5f, 0}, {0, 0.5f, 0.5f}, {0.5f, 0, 0.5f}, {0, 0, 0.5f}};
} // namespace

ExtractedModel::ExtractedModel(const EnvelopeList &envelopes)
    : envelopes(envelopes), offset{0.0f, 0.0f, 0.0f}
{}

template <class Draw> void ExtractedModel::drawPlaced(Draw drawEnvelope) const
{
    Util::Vector3D shift = getOffset();
    if (isPreview())
        shift += getPreviewDisplacement();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslated(shift.x, shift.y, shift.z);
    for (int i = 0; i < envelopes.size(); ++i)
        drawEnvelope(*envelopes[i], i);
    glPopMatrix();
}

void ExtractedModel::draw(bool, bool)
{
    drawPlaced([](const RectangularCuboidEnvelope &envelope, int i) {
        envelope.draw(fillColours[i % 14]);
    });
}

void ExtractedModel::drawForPicking()
{
    // Picked where it is drawn, so a click on the model beside the volume selects it.
    drawPlaced([](const RectangularCuboidEnvelope &envelope, int) {
        const float colour[3] = {1.0f, 1.0f, 1.0f};
        envelope.draw(colour);
    });
}

boost::shared_ptr<Object> ExtractedModel::clone()
{
    Ptr copy(new ExtractedModel(envelopes));
    std::copy(offset, offset + 3, copy->offset);
    copy->setColor(getColor());
    return copy;
}

void ExtractedModel::translate(Util::Vector4D d)
{
    offset[0] += float(d.x);
    offset[1] += float(d.y);
    offset[2] += float(d.z);
}

bool ExtractedModel::getBounds(Util::Vector3D &lower, Util::Vector3D &upper) const
{
    if (envelopes.isEmpty())
        return false;
    double lo[3], hi[3];
    for (int axis = 0; axis < 3; ++axis) {
        lo[axis] = std::numeric_limits<double>::max();
        hi[axis] = std::numeric_limits<double>::lowest();
        for (const RectangularCuboidEnvelope::Ptr &e : envelopes) {
            const double scale = RectangularCuboidEnvelope::displayScale[axis];
            lo[axis] = std::min(lo[axis], e->corner(axis) * scale + offset[axis]);
            hi[axis] = std::max(hi[axis], (e->corner(axis) + e->size(axis)) * scale + offset[axis]);
        }
    }
    lower = Util::Vector3D(lo[0], lo[1], lo[2]);
    upper = Util::Vector3D(hi[0], hi[1], hi[2]);
    return true;
}

} // namespace ModelExtraction
} // namespace Model
