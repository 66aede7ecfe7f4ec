#ifndef CELVANE_CORE_OPERATIONS_MATERIALSET_H
#define CELVANE_CORE_OPERATIONS_MATERIALSET_H

#include <QList>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace Core {
namespace Operations {

/// A set of material ids that the inner loops of a process ask about once per cell: a lookup
/// table for the small ids of the catalogue, a sorted list for any others.
class MaterialSet
{
public:
    MaterialSet() = default;
    explicit MaterialSet(const QList<quint32> &ids);

    /// The compatible materials of the named process in the process catalogue (empty when the
    /// catalogue has no such process).
    static MaterialSet ofProcess(const QString &processName);

    bool contains(quint32 id) const
    {
        if (id < table.size())
            return table[id] != 0;
        return !large.empty() && containsLarge(id);
    }
    /// The ids, ascending, each once.
    std::vector<quint32> getIds() const;
    bool isEmpty() const;

private:
    bool containsLarge(quint32 id) const;

    std::vector<quint8> table;
    std::vector<quint32> large;
};

} // namespace Operations
} // namespace Core

#endif
