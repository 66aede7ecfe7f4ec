#ifndef CELVANE_MODEL_MATERIALS_MATERIALFACTORY_H
#define CELVANE_MODEL_MATERIALS_MATERIALFACTORY_H

#include "Model/Materials/material.h"

#include <QList>
#include <boost/shared_ptr.hpp>

namespace Model {
namespace Materials {

/// The process-wide material catalogue. Every public operation holds one non-recursive mutex
/// for its whole duration and hands out copies, so it may be called from any thread.
class MaterialFactory
{
public:
    typedef boost::shared_ptr<MaterialFactory> Ptr;

    /// The one catalogue; the first call runs the start-up sequence (see initialize()).
    static Ptr instance();

    /// The start-up sequence on an empty catalogue: read materials.xml; when that fails, keep an
    /// existing but unreadable file as materials.xml.bak, load the built-in table and write it.
    void initialize();

    /// A copy of the entry, or the empty material (id 0, "Empty").
    Material getMaterial(quint32 id) const;
    /// All entries in ascending id order.
    QList<Material> getMaterials() const;
    /// Inserts or replaces by id; false and no change for id 0.
    bool setMaterial(const Material &material);
    /// The range of generated ids.
    static constexpr quint32 firstGeneratedId = 2000;
    static constexpr quint32 lastGeneratedId = 32766;
    /// A random id between 2000 and 32766 that the catalogue does not hold; 0 when the
    /// catalogue holds every id of that range.
    quint32 generateMaterialId() const;

    /// Reads materials.xml into the catalogue; false when it is missing or malformed.
    bool loadMaterials();
    /// Writes the whole catalogue to materials.xml atomically; false when it cannot.
    bool saveMaterials() const;
    /// Empties the catalogue and inserts the fifteen built-in materials.
    void loadDefaultMaterials();

    /// The file read now (~/Celvane/materials.xml, or ~/materials.xml without the folder).
    static QString readPath();

private:
    MaterialFactory();
};

} // namespace Materials
} // namespace Model

#endif
