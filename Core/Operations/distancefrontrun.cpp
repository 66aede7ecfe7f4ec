#include "Core/Operations/distancefrontrun.h"

#include "Model/Automaton/totalvolume.h"

using Model::Automaton::TotalVolume;

namespace Core {
namespace Operations {

namespace {

// Fronts split into strips at least this wide; narrower volumes run on the calling thread.
const quint32 minimumStripWidth = 2;

quint32 countOf(const TotalVolume *volume, quint32 (TotalVolume::*get)() const)
{
    return volume ? (volume->*get)() : 0;
}

float sizeOf(const TotalVolume *volume, float (TotalVolume::*get)() const)
{
    return volume ? (volume->*get)() : 1.0f;
}

} // namespace

DistanceFrontRun::DistanceFrontRun(TotalVolume *volume, float stepX, float stepY, float stepZ)
    : volume(volume), runner(countOf(volume, &TotalVolume::getCellsX), minimumStripWidth),
      neighborhood(countOf(volume, &TotalVolume::getCellsX),
                   countOf(volume, &TotalVolume::getCellsY),
                   countOf(volume, &TotalVolume::getCellsZ)),
      distanceFront(stepX, stepY, stepZ), stepSize{stepX, stepY, stepZ}, passesRun(0),
      current(nullptr), next(nullptr)
{}

DistanceFrontRun::DistanceFrontRun(TotalVolume *volume)
    : DistanceFrontRun(volume, sizeOf(volume, &TotalVolume::getCellSizeX),
                       sizeOf(volume, &TotalVolume::getCellSizeY),
                       sizeOf(volume, &TotalVolume::getCellSizeZ))
{}

QString DistanceFrontRun::checkVolume(const TotalVolume *volume, const QString &process)
{
    if (!volume)
        return QStringLiteral("No cell volume for the %1.").arg(process);
    if (!DistanceFront::validCellSizes(volume->getCellSizeX(), volume->getCellSizeY(),
                                       volume->getCellSizeZ()))
        return QStringLiteral("The cell volume's cell sizes must be above 0.");
    return QString();
}

void DistanceFrontRun::lock()
{
    current = volume->lockCells();
    next = volume->lockNextCells();
}

void DistanceFrontRun::release()
{
    volume->releaseCells();
    volume->releaseNextCells();
    current = nullptr;
    next = nullptr;
}

QString DistanceFrontRun::failureText(const QString &process, quint64 passes,
                                      bool initializationChanges) const
{
    if (passesRun == 0 && !initializationChanges)
        return QStringLiteral("Not enough memory for the %1; the cell volume is unchanged.")
            .arg(process);
    return QStringLiteral("Not enough memory to finish the %1; it stopped after %2 of %3 passes.")
        .arg(process)
        .arg(passesRun)
        .arg(passes);
}

QString DistanceFrontRun::canceledText(const QString &process, quint64 passes) const
{
    return QStringLiteral("The %1 was canceled after %2 of %3 passes.")
        .arg(process)
        .arg(passesRun)
        .arg(passes);
}

} // namespace Operations
} // namespace Core
