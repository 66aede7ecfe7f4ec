#ifndef CELVANE_CORE_OPERATIONS_SUBSTRATEBUILDER_H
#define CELVANE_CORE_OPERATIONS_SUBSTRATEBUILDER_H

#include "Model/Automaton/totalvolume.h"
#include "Util/vector3d.h"

#include <QString>

namespace Core {
namespace Operations {

/// Builds a new cell volume (unit cells) holding a block or a ball of one material in empty
/// space. Parts of the block or ball outside the volume are cut off.
class SubstrateBuilder
{
public:
    SubstrateBuilder(quint32 materialId, quint32 cellsX, quint32 cellsY, quint32 cellsZ,
                     const Util::Vector3D &position);

    void setBox(quint32 offsetX, quint32 offsetY, quint32 offsetZ, quint32 width, quint32 length,
                quint32 height);
    void setSphere(quint32 centerX, quint32 centerY, quint32 centerZ, quint32 radius);

    /// The volume, or an empty pointer and the reason when it cannot be allocated or would
    /// reach beyond the coordinate limit.
    Model::Automaton::TotalVolume::Ptr build(QString *error = nullptr) const;

private:
    quint32 materialId;
    quint32 cellsX, cellsY, cellsZ;
    Util::Vector3D position;
    bool spherical;
    quint32 offsetX, offsetY, offsetZ, width, length, height;
    quint32 centerX, centerY, centerZ, radius;
};

} // namespace Operations
} // namespace Core

#endif
