#include "Core/Operations/ReactiveIonEtching/simplereactiveionetching.h"

#include "Model/Automaton/totalvolume.h"
#include "Util/progress.h"

#include <QDebug>

#include <algorithm>

using Model::Automaton::TotalVolume;

namespace Core {
namespace Operations {

SimpleReactiveIonEtching::SimpleReactiveIonEtching(TotalVolume *volume, quint32 material,
                                                   quint32 steps, quint8 direction)
    : ColumnWorker(volume, 1), material(material), steps(steps), direction(direction), stepsRun(0)
{}

bool SimpleReactiveIonEtching::etchable(quint64 index) const
{
    return cells[index].material == material;
}

bool SimpleReactiveIonEtching::runEtching(QString *error)
{
    stepsRun = 0;
    if (!checkVolume(QStringLiteral("No cell volume for the reactive-ion etching."), error))
        return false;
    lockArrays();
    bool ok = false;
    try {
        surfaces.assign(size_t(runner.getStripCount()), StripSlot<CellSet>());
        nextSurfaces.assign(size_t(runner.getStripCount()), StripSlot<CellSet>());
        ok = runner.runPhase([this](int strip) { runPartialSurface(unsigned(strip)); });
        bool anySurface = true;
        Util::Progress::reportTotal(steps);
        while (ok && stepsRun < steps && anySurface) {
            if (Util::Progress::stopRequested()) {
                ok = false;
                break;
            }
            ok = runner.runPhase([this](int strip) { runPartialEtchingStep(unsigned(strip)); });
            if (ok)
                Util::Progress::reportDone(++stepsRun);
            // With no surface left no later step can change a cell.
            anySurface = false;
            for (const StripSlot<CellSet> &surface : surfaces)
                anySurface = anySurface || !surface.value.empty();
        }
    } catch (...) {
        ok = false;
    }
    surfaces.clear();
    nextSurfaces.clear();
    releaseArrays();
    if (!ok && error)
        *error = (Util::Progress::stopRequested()
                      ? QStringLiteral("The reactive-ion etching was canceled after %1 of %2 "
                                       "steps.")
                      : QStringLiteral("Not enough memory to finish the reactive-ion etching; "
                                       "it stopped after %1 of %2 steps."))
                     .arg(stepsRun)
                     .arg(steps);
    return ok;
}

void SimpleReactiveIonEtching::runPartialSurface(const unsigned int strip)
{
    CellSet &surface = surfaces[strip].value;
    surface.clear();
    forEachColumn(int(strip), [this, &surface](quint64 column) {
        for (quint32 z = 0; z < cellsZ; ++z) {
            const quint64 i = column + z;
            if (!etchable(i))
                continue;
            // The outside of the volume does not count as empty.
            const bool exposedAbove =
                (direction & FromTop) && z + 1 < cellsZ && cells[i + 1].material == 0;
            const bool exposedBelow =
                (direction & FromBelow) && z >= 1 && cells[i - 1].material == 0;
            if (exposedAbove || exposedBelow)
                surface.push_back(i);
        }
    });
}

void SimpleReactiveIonEtching::runPartialEtchingStep(const unsigned int strip)
{
    CellSet &surface = surfaces[strip].value;
    CellSet &next = nextSurfaces[strip].value;
    next.clear();
    try {
        for (quint64 i : surface) {
            if (!etchable(i))
                continue;
            nextCells[i].material = 0;
            const quint32 z = quint32(i % cellsZ);
            // Etching from below moves the front up, etching from the top moves it down.
            if ((direction & FromBelow) && z + 1 < cellsZ && etchable(i + 1))
                next.push_back(i + 1);
            if ((direction & FromTop) && z >= 1 && etchable(i - 1))
                next.push_back(i - 1);
        }
        std::sort(next.begin(), next.end());
        next.erase(std::unique(next.begin(), next.end()), next.end());
    } catch (...) {
        // The strip's columns stay as the step found them.
        for (quint64 i : surface)
            nextCells[i].material = cells[i].material;
        surface.clear();
        throw;
    }
    for (quint64 i : surface)
        cells[i].material = nextCells[i].material;
    surface.swap(next);
    qDebug().nospace() << "Surface list size for thread " << strip << ": " << surface.size();
}

} // namespace Operations
} // namespace Core
