#include "Core/Operations/MooreNeighborhood/mooreneighborhooddeposition.h"

#include <QDebug>

namespace Core {
namespace Operations {

MooreNeighborhoodDeposition::MooreNeighborhoodDeposition(Model::Automaton::TotalVolume *volume,
                                                         quint32 material, qint32 steps)
    : front(volume, material, steps, MooreFront::Deposition)
{}

bool MooreNeighborhoodDeposition::runDeposition(QString *error)
{
    qDebug().nospace() << "Steps to run " << front.getSteps();
    qDebug().nospace() << "Threads " << front.getThreadCount();
    qDebug().nospace() << "Strips per thread " << front.getStripWidth();
    qDebug().nospace() << "Deposited material id " << front.getMaterial();
    return front.run(error);
}

} // namespace Operations
} // namespace Core
