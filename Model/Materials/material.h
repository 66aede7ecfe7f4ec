#ifndef CELVANE_MODEL_MATERIALS_MATERIAL_H
#define CELVANE_MODEL_MATERIALS_MATERIAL_H

#include <QString>
#include <QtGlobal>

namespace Model {
namespace Materials {

/// A catalogue entry: what fills a cell of a given material id.
class Material
{
public:
    /// The empty material: id 0, "Empty", zero constants, grey.
    Material();
    Material(quint32 id, const QString &name, float density, float youngModulus, float poissonRatio,
             const float *color = nullptr);

    quint32 getId() const { return id; }
    void setId(quint32 v) { id = v; }
    QString getName() const { return name; }
    void setName(const QString &v) { name = v; }
    /// kg/m^3
    float getDensity() const { return density; }
    void setDensity(float v) { density = v; }
    /// Pa
    float getYoungModulus() const { return youngModulus; }
    void setYoungModulus(float v) { youngModulus = v; }
    float getPoissonRatio() const { return poissonRatio; }
    void setPoissonRatio(float v) { poissonRatio = v; }
    /// Red, green, blue, alpha, each 0..1.
    void getColor(float *rgba) const;
    const float *getColor() const { return color; }
    void setColor(const float *rgba);
    void setColor(float r, float g, float b, float a);

    /// Same id, same name (case-sensitive) and colours within 1/256; the mechanical
    /// constants do not count. Documents use this to match their materials to the catalogue.
    bool operator==(const Material &o) const;
    bool operator!=(const Material &o) const { return !(*this == o); }

private:
    quint32 id;
    QString name;
    float density;
    float youngModulus;
    float poissonRatio;
    float color[4];
};

} // namespace Materials
} // namespace Model

#endif
