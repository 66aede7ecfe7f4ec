#ifndef CELVANE_CORE_OPERATIONS_DELETEOBJECT_H
#define CELVANE_CORE_OPERATIONS_DELETEOBJECT_H

#include "Core/Operations/objectoperation.h"
#include "Model/object.h"

#include <QList>
#include <boost/shared_ptr.hpp>

namespace Core {
namespace Operations {

/// Removes the selected objects from the document (they stay alive for undo).
class DeleteObject : public ObjectOperation
{
public:
    typedef boost::shared_ptr<Model::Object> ObjectPtr;

    explicit DeleteObject(Workspace &workspace);

    void execute() override;
    void cancel() override;
    void end() override;
    bool undo() override;
    void redo() override;

private:
    QList<ObjectPtr> objects;
    quint32 step;
};

} // namespace Operations
} // namespace Core

#endif
