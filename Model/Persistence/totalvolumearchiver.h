#ifndef CELVANE_MODEL_PERSISTENCE_TOTALVOLUMEARCHIVER_H
#define CELVANE_MODEL_PERSISTENCE_TOTALVOLUMEARCHIVER_H

#include "Model/Persistence/objectarchiver.h"

namespace Model {
namespace Persistence {

/// The archiver of cell volumes (object type 1).
class TotalVolumeArchiver : public ObjectArchiver
{
public:
    TotalVolumeArchiver();

    void setWriter(QXmlStreamWriter *writer) override { this->writer = writer; }
    void setReader(QXmlStreamReader *reader) override { this->reader = reader; }
    void setMaterialIdMap(const MaterialIdMap *map) override { this->map = map; }
    void setInputSize(qint64 bytes) override { inputSize = bytes; }

    /// Above this many cells, an object's cell states must be able to fill at least one
    /// character per cell of what is left of the input (the program writes two).
    static const quint64 largeVolumeCells = quint64(1) << 24;
    bool writeObject(const boost::shared_ptr<Model::Object> &object) override;
    boost::shared_ptr<Model::Object> readObject(QString *error = nullptr) override;

private:
    QXmlStreamWriter *writer;
    QXmlStreamReader *reader;
    const MaterialIdMap *map;
    qint64 inputSize;
};

} // namespace Persistence
} // namespace Model

#endif
