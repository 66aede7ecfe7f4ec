#ifndef CELVANE_CORE_OPERATIONS_CREATESUBSTRATEOPERATION_H
#define CELVANE_CORE_OPERATIONS_CREATESUBSTRATEOPERATION_H

#include "Core/Operations/objectoperation.h"
#include "Model/object.h"
#include "Util/iobserver.h"
#include "Util/vector3d.h"

#include <QString>
#include <boost/shared_ptr.hpp>

namespace Core {
namespace Operations {

/// Creates a cell volume holding a block or a ball of one material; undo and redo take it
/// out of the document and put it back.
class CreateSubstrateOperation : public ObjectOperation
{
public:
    explicit CreateSubstrateOperation(Workspace &workspace);

    void execute() override;
    void cancel() override;
    void end() override;
    bool undo() override;
    void redo() override;

    void setObserver(const Util::ObserverPtr &observer) { this->observer = observer; }

    void setSphere(quint32 materialId, quint32 cellsX, quint32 cellsY, quint32 cellsZ,
                   const Util::Vector3D &position, quint32 centerX, quint32 centerY,
                   quint32 centerZ, quint32 radius);
    void setBox(quint32 materialId, quint32 cellsX, quint32 cellsY, quint32 cellsZ,
                const Util::Vector3D &position, quint32 offsetX, quint32 offsetY, quint32 offsetZ,
                quint32 width, quint32 length, quint32 height);

    boost::shared_ptr<Model::Object> getVolume() const { return volume; }
    quint32 getState() const { return state; }
    /// Why the volume could not be built (empty when it was, or was not tried).
    QString getError() const { return error; }

private:
    boost::shared_ptr<Model::Object> volume;
    quint32 materialId;
    quint32 cellsX, cellsY, cellsZ;
    quint32 width, length, height;
    quint32 offsetX, offsetY, offsetZ;
    quint32 radius, centerX, centerY, centerZ;
    Util::Vector3D position;
    bool spherical;
    quint32 state;
    Util::ObserverPtr observer;
    QString error;
};

} // namespace Operations
} // namespace Core

#endif
