#include "Model/ModelExtraction/cantileverstructure.h"

#include "Model/Materials/materialfactory.h"

#include <algorithm>

namespace Model {
namespace ModelExtraction {

const double CantileverStructure::cellVolume = 2.00129819772e-17;

namespace {
const quint32 tableSize = 16;
const double densities[tableSize] = {0,    2329, 2700, 8940, 8908, 2648, 2810, 1000,
                                     1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000};

QString number(double value)
{
    return QString::number(value, 'g', 6);
}
} // namespace

CantileverStructure::CantileverStructure(const QList<RectangularCuboidEnvelope::Ptr> &beams)
    : beams(beams)
{}

double CantileverStructure::density(quint32 material)
{
    if (material < tableSize)
        return densities[material];
    return Materials::MaterialFactory::instance()->getMaterial(material).getDensity();
}

double CantileverStructure::youngsModulus(quint32 material)
{
    if (material < tableSize)
        return material == 0 ? 0.0 : 7e10;
    return Materials::MaterialFactory::instance()->getMaterial(material).getYoungModulus();
}

double CantileverStructure::effectiveMass(const RectangularCuboidEnvelope &beam)
{
    const quint64 cells = quint64(beam.sizeX) * beam.sizeY * beam.sizeZ;
    return double(cells) * cellVolume * density(beam.material) * 33.0 / 140.0;
}

double CantileverStructure::stiffness(const RectangularCuboidEnvelope &beam)
{
    const quint64 length = std::max(beam.sizeX, beam.sizeY);
    const quint64 width = std::min(beam.sizeX, beam.sizeY);
    const quint64 h = beam.sizeZ;
    // The products are whole numbers; the twelfth of the second moment is not.
    const double secondMoment = double(width * h * h * h) / 12.0;
    return youngsModulus(beam.material) * 3.0 * secondMoment / double(length * length * length);
}

QString CantileverStructure::getNetlist() const
{
    QString text = QStringLiteral("Model extracted by Celvane\n");
    for (int k = 1; k <= beams.size(); ++k) {
        const RectangularCuboidEnvelope &beam = *beams[k - 1];
        const double springConstant = stiffness(beam);
        if (!(springConstant > 0.0))
            continue; // an infinite compliance would break the simulator; said by getProblems
        text += QStringLiteral("c%1 %2 0 %3 \n").arg(k).arg(k).arg(number(effectiveMass(beam)));
        text += QStringLiteral("l%1 %2 0 %3 \n").arg(k).arg(k).arg(number(1.0 / springConstant));
    }
    text += QStringLiteral(".end \n");
    return text;
}

QStringList CantileverStructure::getProblems() const
{
    QStringList problems;
    for (int k = 1; k <= beams.size(); ++k)
        if (!(stiffness(*beams[k - 1]) > 0.0))
            problems << QStringLiteral("Beam %1 (material %2) has no Young's modulus and is left "
                                       "out of the netlist.")
                            .arg(k)
                            .arg(beams[k - 1]->material);
    return problems;
}

} // namespace ModelExtraction
} // namespace Model
