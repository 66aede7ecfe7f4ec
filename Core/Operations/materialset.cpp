#include "Core/Operations/materialset.h"

#include "Model/Process/processfactory.h"

#include <algorithm>

namespace Core {
namespace Operations {

namespace {
// Ids below this go into the table; the catalogue's ids are small.
const quint32 tableLimit = 4096;
} // namespace

MaterialSet::MaterialSet(const QList<quint32> &ids)
{
    for (quint32 id : ids) {
        if (id < tableLimit) {
            if (id >= table.size())
                table.resize(size_t(id) + 1, 0);
            table[id] = 1;
        } else {
            large.push_back(id);
        }
    }
    std::sort(large.begin(), large.end());
    large.erase(std::unique(large.begin(), large.end()), large.end());
}

MaterialSet MaterialSet::ofProcess(const QString &processName)
{
    return MaterialSet(Model::Process::ProcessFactory::instance()
                           ->getProcess(processName)
                           .getCompatibleMaterials());
}

bool MaterialSet::containsLarge(quint32 id) const
{
    return std::binary_search(large.begin(), large.end(), id);
}

std::vector<quint32> MaterialSet::getIds() const
{
    std::vector<quint32> ids;
    for (size_t id = 0; id < table.size(); ++id)
        if (table[id])
            ids.push_back(quint32(id));
    ids.insert(ids.end(), large.begin(), large.end());
    return ids;
}

bool MaterialSet::isEmpty() const
{
    return large.empty() && std::find(table.begin(), table.end(), 1) == table.end();
}

} // namespace Operations
} // namespace Core
