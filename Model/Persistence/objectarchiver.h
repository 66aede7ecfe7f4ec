#ifndef CELVANE_MODEL_PERSISTENCE_OBJECTARCHIVER_H
#define CELVANE_MODEL_PERSISTENCE_OBJECTARCHIVER_H

#include "Model/object.h"

#include <QMap>
#include <boost/shared_ptr.hpp>

class QXmlStreamReader;
class QXmlStreamWriter;

namespace Model {
namespace Persistence {

/// Material ids as stored in a document -> ids in the running catalogue.
typedef QMap<quint32, quint32> MaterialIdMap;

/// Reads and writes one kind of scene object as a document "Object" element.
class ObjectArchiver
{
public:
    virtual ~ObjectArchiver() = default;
    virtual void setWriter(QXmlStreamWriter *writer) = 0;
    virtual void setReader(QXmlStreamReader *reader) = 0;
    virtual void setMaterialIdMap(const MaterialIdMap *map) = 0;
    /// The size of the whole input in bytes, 0 when unknown: lets a reader refuse a large
    /// object whose contents cannot be in what is left of the input.
    virtual void setInputSize(qint64 bytes) { Q_UNUSED(bytes) }
    virtual bool writeObject(const boost::shared_ptr<Model::Object> &object) = 0;
    /// The object the reader stands on, or an empty pointer (with a reason) when it cannot
    /// be built.
    virtual boost::shared_ptr<Model::Object> readObject(QString *error = nullptr) = 0;
};

} // namespace Persistence
} // namespace Model

#endif
