#include "Model/Materials/materialfactory.h"

#include "Model/Persistence/catalogfile.h"
#include "Model/Persistence/materialarchiver.h"

#include <QMap>
#include <QMutex>
#include <QMutexLocker>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cstdlib>

namespace Model {
namespace Materials {

namespace {

const char fileName[] = "materials.xml";

// Class-wide storage: one catalogue per process.
QMutex &catalogMutex()
{
    static QMutex mutex;
    return mutex;
}

QMap<quint32, Material> &catalog()
{
    static QMap<quint32, Material> map;
    return map;
}

struct DefaultMaterial
{
    quint32 id;
    const char *name;
    float density;
    float youngModulus;
    float poissonRatio;
    float color[4];
};

const DefaultMaterial defaultMaterials[] = {
    {1, "Si", 2329.0f, 1.88e11f, 0.28f, {0.5f, 0.5f, 0.5f, 1.0f}},
    {3, "Thermal Si02", 2200.0f, 7e10f, 0.17f, {0.5f, 0.5f, 1.0f, 1.0f}},
    {4, "Al (bulk)", 2700.0f, 7e10f, 0.14f, {0.7f, 0.7f, 0.7f, 1.0f}},
    {5, "Cu (bulk)", 8960.0f, 1.28e11f, 0.36f, {1.0f, 0.8f, 0.3f, 1.0f}},
    {6, "Cr (bulk)", 7190.0f, 2.79e11f, 0.21f, {0.8f, 0.8f, 0.8f, 1.0f}},
    {7, "Ni (bulk)", 8908.0f, 2e11f, 0.31f, {0.8f, 0.9f, 0.8f, 1.0f}},
    {8, "Pt (bulk)", 21450.0f, 1.68e11f, 0.38f, {0.9f, 0.9f, 0.8f, 1.0f}},
    {9, "Au (bulk)", 19300.0f, 7.9e10f, 0.44f, {0.5f, 1.0f, 0.5f, 1.0f}},
    {10, "Ti (bulk)", 4506.0f, 1.16e11f, 0.32f, {0.3f, 0.3f, 0.3f, 1.0f}},
    {11, "Photoresist +", 1000.0f, 1e9f, 0.4f, {1.0f, 0.5f, 0.5f, 1.0f}},
    {12, "Photoresist -", 1000.0f, 1e9f, 0.4f, {1.0f, 0.3f, 1.0f, 1.0f}},
    {13, "PDMS", 1000.0f, 1e9f, 0.4f, {1.0f, 1.0f, 1.0f, 1.0f}},
    {14, "N-doped Si (100)", 2329.0f, 1.88e11f, 0.28f, {1.0f, 1.0f, 0.67f, 1.0f}},
    {15, "P-doped Si (100)", 2329.0f, 1.88e11f, 0.28f, {0.67f, 0.67f, 1.0f, 1.0f}},
    {16, "Poly-Si", 2329.0f, 1.88e11f, 0.28f, {0.3f, 0.5f, 0.4f, 1.0f}},
};

} // namespace

MaterialFactory::MaterialFactory()
{
    initialize();
}

MaterialFactory::Ptr MaterialFactory::instance()
{
    static Ptr theInstance(new MaterialFactory());
    return theInstance;
}

QString MaterialFactory::readPath()
{
    return Persistence::CatalogFile::readPath(QLatin1String(fileName));
}

void MaterialFactory::initialize()
{
    {
        // Start-up reads into an empty catalogue.
        QMutexLocker locker(&catalogMutex());
        catalog().clear();
    }
    if (loadMaterials())
        return;
    Persistence::CatalogFile::keepBackup(readPath());
    loadDefaultMaterials();
    saveMaterials();
}

Material MaterialFactory::getMaterial(quint32 id) const
{
    QMutexLocker locker(&catalogMutex());
    return catalog().value(id, Material());
}

QList<Material> MaterialFactory::getMaterials() const
{
    QMutexLocker locker(&catalogMutex());
    return catalog().values();
}

bool MaterialFactory::setMaterial(const Material &material)
{
    if (material.getId() == 0)
        return false;
    QMutexLocker locker(&catalogMutex());
    catalog().insert(material.getId(), material);
    return true;
}

quint32 MaterialFactory::generateMaterialId() const
{
    QMutexLocker locker(&catalogMutex());
    const QMap<quint32, Material> &map = catalog();
    // Random draws as always; a crowded range falls back to its first free id, and a full one
    // gives 0 instead of drawing for ever.
    for (int attempt = 0; attempt < 64; ++attempt) {
        const int r = std::rand() & 0x7fff; // the toolkit's generator range, 0..32767
        const quint32 id = 2000 + quint32(float(r) * 30767.0f / 32768.0f);
        if (!map.contains(id))
            return id;
    }
    quint32 candidate = firstGeneratedId;
    for (auto it = map.lowerBound(firstGeneratedId);
         it != map.end() && it.key() == candidate && candidate <= lastGeneratedId; ++it)
        ++candidate;
    return candidate <= lastGeneratedId ? candidate : 0;
}

bool MaterialFactory::loadMaterials()
{
    QMutexLocker locker(&catalogMutex());
    QMap<quint32, Material> &map = catalog();
    return Persistence::CatalogFile::read(
        readPath(), QStringLiteral("Materials"), [&map](QXmlStreamReader &reader) {
            bool ok = false;
            const Material material = Persistence::MaterialArchiver::loadMaterial(&reader, &ok);
            if (ok)
                map.insert(material.getId(), material);
        });
}

bool MaterialFactory::saveMaterials() const
{
    QMutexLocker locker(&catalogMutex());
    const QMap<quint32, Material> &map = catalog();
    return Persistence::CatalogFile::write(
        QLatin1String(fileName), QStringLiteral("Materials"), [&map](QXmlStreamWriter &writer) {
            for (const Material &material : map)
                Persistence::MaterialArchiver::saveMaterial(&writer, material);
        });
}

void MaterialFactory::loadDefaultMaterials()
{
    QMutexLocker locker(&catalogMutex());
    QMap<quint32, Material> &map = catalog();
    map.clear();
    for (const DefaultMaterial &m : defaultMaterials)
        map.insert(m.id, Material(m.id, QString::fromLatin1(m.name), m.density, m.youngModulus,
                                  m.poissonRatio, m.color));
}

} // namespace Materials
} // namespace Model
