#ifndef CELVANE_TESTS_PROCESSSTEPSTESTUTIL_H
#define CELVANE_TESTS_PROCESSSTEPSTESTUTIL_H

#include "Core/Operations/Anisotropic/anisotropicfilmdepositionoperation.h"
#include "Core/Operations/Doping/dopingoperation.h"
#include "Core/Operations/Doping/ionimplantationoperation.h"
#include "Core/Operations/Electrodeposition/electrodepositionoperation.h"
#include "Core/Operations/Isotropic/isotropicfilmdepositionoperation.h"
#include "Core/Operations/Isotropic/isotropicfilmetchingoperation.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhooddepositionoperation.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetchingoperation.h"
#include "Core/Operations/Photolithography/photolithographyoperation.h"
#include "Core/Operations/Planarization/planarizationoperation.h"
#include "Core/Operations/Planarization/spincoatingoperation.h"
#include "Core/Operations/ReactiveIonEtching/simplereactiveionetchingoperation.h"
#include "Core/Operations/SiEtching/atomisticsiwetetchingoperation.h"
#include "Core/Operations/SiEtching/continouswetetchoperation.h"
#include "Core/Operations/SiOxidation/simplesioxidationoperation.h"
#include "workspacetestutil.h"

/// The process operations under their menu ids, their dialogs answered with the values given
/// and ended, as a user pressing OK would.
namespace Steps {

using namespace Core::Operations;

inline Step isotropicDeposition(float thickness, quint32 material)
{
    return answering<IsotropicFilmDepositionOperation>(13, [=](auto *op) {
        op->setThickness(thickness);
        op->setMaterial(material);
        op->end();
    });
}

inline Step isotropicEtching(float depth, quint32 material)
{
    return answering<IsotropicFilmEtchingOperation>(14, [=](auto *op) {
        op->setDepth(depth);
        op->setMaterial(material);
        op->end();
    });
}

inline Step mooreDeposition(quint32 material, quint32 steps)
{
    return answering<MooreNeighborhoodDepositionOperation>(18, [=](auto *op) {
        op->setMaterial(material);
        op->setSteps(steps);
        op->end();
    });
}

inline Step mooreEtching(quint32 material, quint32 steps)
{
    return answering<MooreNeighborhoodEtchingOperation>(19, [=](auto *op) {
        op->setMaterial(material);
        op->setSteps(steps);
        op->end();
    });
}

/// side: 1 on top, 2 on the bottom, 3 on both.
inline Step pvd(float thickness, quint32 material, float ratio = 0.5f, quint32 side = 1)
{
    return answering<AnisotropicFilmDepositionOperation>(27, [=](auto *op) {
        op->setThickness(thickness);
        op->setMaterial(material);
        op->setRatio(ratio);
        op->setDepositOn(side);
        op->end();
    });
}

inline Step plating(float thickness, quint32 material, quint32 conductor)
{
    return answering<ElectrodepositionOperation>(15, [=](auto *op) {
        op->setThickness(thickness);
        op->setMaterial(material);
        op->setConductingMaterial(conductor);
        op->end();
    });
}

inline Step doping(float depth, quint32 material)
{
    return answering<DopingOperation>(17, [=](auto *op) {
        op->setDepth(depth);
        op->setMaterial(material);
        op->end();
    });
}

inline Step implantation(float annealing, float depth, quint32 material)
{
    return answering<IonImplantationOperation>(3, [=](auto *op) {
        op->setAnnealingDistance(annealing);
        op->setImplantationDepth(depth);
        op->setMaterial(material);
        op->end();
    });
}

inline Step planarization(quint32 maximum, quint32 minimum)
{
    return answering<PlanarizationOperation>(22, [=](auto *op) {
        op->setMaximumHeight(maximum);
        op->setMinimumHeight(minimum);
        op->end();
    });
}

inline Step spinCoating(quint32 material, quint32 height)
{
    return answering<SpinCoatingOperation>(23, [=](auto *op) {
        op->setMaterial(material);
        op->setHeight(height);
        op->end();
    });
}

inline Step rie(double depth, quint32 material)
{
    return answering<SimpleReactiveIonEtchingOperation>(30, [=](auto *op) {
        op->setDepth(depth);
        op->setMaterial(material);
        op->setEtchFromBelow(false);
        op->setEtchFromTop(true);
        op->end();
    });
}

/// Values of 0 are left unset; a time comes with its pressure and temperature.
inline Step oxidation(double conversion, double thickness, double time = 0, double pressure = 0,
                      double temperature = 0)
{
    return answering<SimpleSiOxidationOperation>(26, [=](auto *op) {
        if (conversion > 0)
            op->setConversion(conversion);
        if (thickness > 0)
            op->setThickness(thickness);
        if (time > 0) {
            op->setTime(time);
            op->setPressure(pressure);
            op->setTemperature(temperature);
        }
        op->end();
    });
}

inline Step wetEtching(double depth)
{
    return answering<AtomisticSiWetEtchingOperation>(28, [=](auto *op) {
        op->setDepth(depth);
        op->end();
    });
}

inline Step continuousWetEtching(double depth)
{
    return answering<ContinousWetEtchOperation>(29, [=](auto *op) {
        op->setDepth(depth);
        op->end();
    });
}

inline Step photolithography(std::function<void(PhotolithographyOperation *)> answer)
{
    return answering<PhotolithographyOperation>(20, answer);
}

} // namespace Steps

#endif
