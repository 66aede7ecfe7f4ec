#include "Model/Persistence/totalvolumearchiver.h"

namespace Model {
namespace Persistence {

TotalVolumeArchiver::TotalVolumeArchiver() : writer(nullptr), reader(nullptr), map(nullptr) {}

bool TotalVolumeArchiver::writeObject(const boost::shared_ptr<Model::Object> &)
{
    return false;
}

boost::shared_ptr<Model::Object> TotalVolumeArchiver::readObject(QString *error)
{
    if (error)
        *error = QStringLiteral("Cell volumes cannot be read yet.");
    return boost::shared_ptr<Model::Object>();
}

} // namespace Persistence
} // namespace Model
