#include "Model/Persistence/materialarchiver.h"

#include <QColor>
#include <QDebug>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Model {
namespace Persistence {

using Materials::Material;

namespace {

int channel(float component)
{
    const double v = double(component) * 255.0;
    if (!(v > 0.0))
        return 0;
    return v >= 255.0 ? 255 : int(v);
}

QString hex2(int v)
{
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString MaterialArchiver::colorToText(const float *rgba)
{
    return QStringLiteral("#") + hex2(channel(rgba[3])) + hex2(channel(rgba[0])) +
           hex2(channel(rgba[1])) + hex2(channel(rgba[2]));
}

QString MaterialArchiver::numberToText(float value)
{
    return QString::number(double(value), 'g', 6);
}

Material MaterialArchiver::loadMaterial(QXmlStreamReader *reader, bool *ok)
{
    Material material;
    if (ok)
        *ok = false;
    if (!reader || reader->name() != QLatin1String("Material"))
        return material;

    const QXmlStreamAttributes attributes = reader->attributes();
    for (const QXmlStreamAttribute &attribute : attributes) {
        const QStringRef name = attribute.name();
        const QString value = attribute.value().toString();
        qDebug() << "attribute: " << name;
        if (name == QLatin1String("name")) {
            material.setName(value);
        } else if (name == QLatin1String("material-id")) {
            material.setId(value.toUInt(nullptr, 10)); // not a number gives 0
        } else if (name == QLatin1String("density")) {
            material.setDensity(value.toFloat());
        } else if (name == QLatin1String("poisson-ratio")) {
            material.setPoissonRatio(value.toFloat());
        } else if (name == QLatin1String("young-modulus")) {
            material.setYoungModulus(value.toFloat());
        } else if (name == QLatin1String("color")) {
            const QColor color(value);
            if (color.isValid())
                material.setColor(float(color.redF()), float(color.greenF()), float(color.blueF()),
                                  float(color.alphaF()));
        }
    }
    if (ok)
        *ok = material.getId() != 0 && !material.getName().isEmpty();
    return material;
}

bool MaterialArchiver::saveMaterial(QXmlStreamWriter *writer, const Material &material)
{
    if (!writer)
        return false;
    writer->writeEmptyElement(QStringLiteral("Material"));
    writer->writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    writer->writeAttribute(QStringLiteral("name"), material.getName());
    writer->writeAttribute(QStringLiteral("material-id"), QString::number(material.getId()));
    writer->writeAttribute(QStringLiteral("density"), numberToText(material.getDensity()));
    writer->writeAttribute(QStringLiteral("poisson-ratio"),
                           numberToText(material.getPoissonRatio()));
    writer->writeAttribute(QStringLiteral("young-modulus"),
                           numberToText(material.getYoungModulus()));
    writer->writeAttribute(QStringLiteral("color"), colorToText(material.getColor()));
    return !writer->hasError();
}

} // namespace Persistence
} // namespace Model
