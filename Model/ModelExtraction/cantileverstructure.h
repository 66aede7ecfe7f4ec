#ifndef CELVANE_MODEL_MODELEXTRACTION_CANTILEVERSTRUCTURE_H
#define CELVANE_MODEL_MODELEXTRACTION_CANTILEVERSTRUCTURE_H

#include "Model/ModelExtraction/istructure.h"
#include "Model/ModelExtraction/rectangularcuboidenvelope.h"

#include <QList>

namespace Model {
namespace ModelExtraction {

/// Cantilever beams, each a lumped mass and spring: in the netlist a capacitor of the
/// effective mass and an inductor of the compliance between the beam's node and ground.
class CantileverStructure : public IStructure
{
public:
    explicit CantileverStructure(const QList<RectangularCuboidEnvelope::Ptr> &beams);

    QString getNetlist() const override;
    QStringList getProblems() const override;

    const QList<RectangularCuboidEnvelope::Ptr> &getBeams() const { return beams; }

    /// Volume of one cell in cubic metres.
    static const double cellVolume;
    /// Density (kg/m^3) and Young's modulus (Pa) of a material: ids 0 to 15 from the
    /// netlist's own table, higher ids from the material catalogue.
    static double density(quint32 material);
    static double youngsModulus(quint32 material);
    /// Effective mass of the beam's first bending mode, 33/140 of its mass.
    static double effectiveMass(const RectangularCuboidEnvelope &beam);
    /// Tip stiffness 3 E I / L^3 of a beam of length L (the longer side in the plane), width b
    /// (the shorter) and thickness h (z), I = b h^3 / 12; 0 without a modulus.
    static double stiffness(const RectangularCuboidEnvelope &beam);

private:
    QList<RectangularCuboidEnvelope::Ptr> beams;
};

} // namespace ModelExtraction
} // namespace Model

#endif
