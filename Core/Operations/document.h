#ifndef CELVANE_CORE_OPERATIONS_DOCUMENT_H
#define CELVANE_CORE_OPERATIONS_DOCUMENT_H

#include "Model/layer.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <boost/shared_ptr.hpp>

namespace Core {
namespace Operations {

/// The scene: layers of objects and the file the document was saved to or opened from.
/// The painter and the workers read objects while the GUI thread may change them, so the
/// layers and the file name have mutexes, held only inside these accessors.
class Document
{
public:
    typedef boost::shared_ptr<Model::Object> ObjectPtr;
    typedef boost::shared_ptr<Model::Layer> LayerPtr;

    Document();

    void addObject(const ObjectPtr &object);
    /// Removes the object from every layer; true when it was there.
    bool removeObject(const ObjectPtr &object);
    /// All objects of all layers, layer after layer.
    QList<ObjectPtr> getObjects() const;
    bool contains(const ObjectPtr &object) const;
    /// The object with this picking number, or an empty pointer.
    ObjectPtr findObject(quint32 id) const;

    void draw(bool a, bool b) const;
    void drawForPicking() const;

    QString getFileName() const;
    void setFileName(const QString &name);

    /// Drops all layers, starts one empty current layer and forgets the file name.
    void clear();

    /// Changed since it was last saved, opened or cleared.
    bool isModified() const;
    void setModified(bool modified);

private:
    mutable QMutex layersMutex;
    mutable QMutex fileNameMutex;
    QList<LayerPtr> layers;
    LayerPtr currentLayer;
    QString fileName;
    bool modified;
};

} // namespace Operations
} // namespace Core

#endif
