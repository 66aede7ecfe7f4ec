#ifndef CELVANE_MODEL_MODELEXTRACTION_ENVELOPEDECOMPOSITION_H
#define CELVANE_MODEL_MODELEXTRACTION_ENVELOPEDECOMPOSITION_H

#include "Model/Automaton/totalvolume.h"
#include "Model/ModelExtraction/rectangularcuboidenvelope.h"

#include <QList>

namespace Model {
namespace ModelExtraction {

/// Cuts a cell volume into boxes of one material and links the boxes that share whole faces.
class EnvelopeDecomposition
{
public:
    typedef QList<RectangularCuboidEnvelope::Ptr> EnvelopeList;

    /// The boxes between every plane across which some neighbouring cells differ, visited
    /// breadth first from the origin (towards higher x, then y, then z); empty boxes bound the
    /// others but give no envelope. Reads the cells under the volume's lock.
    static EnvelopeList decompose(Automaton::TotalVolume &volume);

    /// Links each pair of envelopes (in list order) that share a whole face; partial contact is
    /// not linked. Found through a lookup by face, not by comparing every pair.
    static void link(const EnvelopeList &envelopes);
};

} // namespace ModelExtraction
} // namespace Model

#endif
