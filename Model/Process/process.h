#ifndef CELVANE_MODEL_PROCESS_PROCESS_H
#define CELVANE_MODEL_PROCESS_PROCESS_H

#include "Model/Materials/material.h"

#include <QList>
#include <QString>
#include <QtGlobal>

namespace Model {
namespace Process {

/// A named fabrication process and the ordered ids of the materials it may act on.
class Process
{
public:
    /// The empty process: no name, id 0, no materials.
    Process();
    Process(const QString &name, quint32 id);
    Process(const QString &name, quint32 id, const QList<quint32> &compatibleMaterials);

    QString getName() const { return name; }
    quint32 getId() const { return id; }
    QList<quint32> getCompatibleMaterials() const { return compatibleMaterials; }

    /// Appends the id, duplicates allowed.
    void addCompatibleMaterial(quint32 materialId);
    /// Removes every occurrence of the id.
    void removeCompatibleMaterial(quint32 materialId);
    /// The compatible materials the material catalogue knows, in list order.
    QList<Materials::Material> resolveCompatibleMaterials() const;

    bool operator==(const Process &o) const
    {
        return name == o.name && id == o.id && compatibleMaterials == o.compatibleMaterials;
    }
    bool operator!=(const Process &o) const { return !(*this == o); }

private:
    QString name;
    quint32 id;
    QList<quint32> compatibleMaterials;
};

} // namespace Process
} // namespace Model

#endif
