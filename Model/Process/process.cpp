#include "Model/Process/process.h"

#include "Model/Materials/materialfactory.h"

namespace Model {
namespace Process {

Process::Process() : id(0) {}

Process::Process(const QString &name, quint32 id) : name(name), id(id) {}

Process::Process(const QString &name, quint32 id, const QList<quint32> &compatibleMaterials)
    : name(name), id(id), compatibleMaterials(compatibleMaterials)
{}

void Process::addCompatibleMaterial(quint32 materialId)
{
    compatibleMaterials.append(materialId);
}

void Process::removeCompatibleMaterial(quint32 materialId)
{
    compatibleMaterials.removeAll(materialId);
}

QList<Materials::Material> Process::resolveCompatibleMaterials() const
{
    const Materials::MaterialFactory::Ptr factory = Materials::MaterialFactory::instance();
    QList<Materials::Material> result;
    for (quint32 materialId : compatibleMaterials) {
        const Materials::Material material = factory->getMaterial(materialId);
        if (material.getId() != 0)
            result.append(material);
    }
    return result;
}

} // namespace Process
} // namespace Model
