#ifndef CELVANE_CORE_OPERATIONS_DISPLACEMENTOPERATION_H
#define CELVANE_CORE_OPERATIONS_DISPLACEMENTOPERATION_H

#include "Core/Operations/objectoperation.h"
#include "Model/object.h"
#include "Util/vector3d.h"

#include <QList>
#include <boost/shared_ptr.hpp>

namespace Core {
namespace Operations {

/// The shared protocol of Move and Copy: take the selected objects, show them displaced
/// while the distance is entered ("x, y, z" typed, or a base point and a destination
/// clicked), then commit by the displacement.
class DisplacementOperation : public ObjectOperation
{
public:
    typedef boost::shared_ptr<Model::Object> ObjectPtr;

    DisplacementOperation(Workspace &workspace, const std::string &name, quint32 id,
                          const std::string &prefix);

    void execute() override;

    Util::Vector3D getDisplacement() const { return displacement; }
    QList<ObjectPtr> getObjects() const { return objects; }
    quint32 getStep() const { return step; }

protected:
    /// The prompt asking for a selection.
    virtual std::string selectionPrompt() const = 0;
    /// The object that is shown displaced and committed for a selected one.
    virtual ObjectPtr prepareObject(const ObjectPtr &selected) = 0;

    /// Prompts for the distance, typed or clicked, and waits for it (step 1).
    void askForDistance();
    /// True when the displacement keeps every object within the coordinate limit; otherwise
    /// says so, resets the preview and asks again.
    bool acceptDistance();
    /// Switches the preview off on every object.
    void endPreview();
    /// prefix followed by text, to the console.
    void writePrefixed(const std::string &text);

    std::string prefix;
    QList<ObjectPtr> objects;
    quint32 step;
    bool coordinatesReceived;
    Util::Vector3D basePoint;
    Util::Vector3D currentPoint;
    Util::Vector3D displacement;
    Util::Vector3D sparePoint;
    quint32 pickMode;
};

} // namespace Operations
} // namespace Core

#endif
