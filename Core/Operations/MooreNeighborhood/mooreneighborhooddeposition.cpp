#include "Core/Operations/MooreNeighborhood/mooreneighborhooddeposition.h"

#include <QDebug>

namespace Core {
namespace Operations {

MooreNeighborhoodDeposition::MooreNeighborhoodDeposition(Model::Automaton::TotalVolume *volume,
                                                         quint32 material, qint32 steps)
    : MooreFront(volume, material, steps, MooreFront::Deposition)
{}

bool MooreNeighborhoodDeposition::runDeposition(QString *error)
{
    qDebug().nospace() << "Steps to run " << getSteps();
    qDebug().nospace() << "Threads " << getThreadCount();
    qDebug().nospace() << "Strips per thread " << getStripWidth();
    qDebug().nospace() << "Deposited material id " << getMaterial();
    return run(error);
}

} // namespace Operations
} // namespace Core
