#include "Core/Operations/SiEtching/atomisticsiwetetchingoperation.h"

#include "Core/Operations/SiEtching/atomicstructuresimplesiwetetch.h"

#include <QDebug>

namespace Core {
namespace Operations {

AtomisticSiWetEtchingOperation::AtomisticSiWetEtchingOperation(Workspace &workspace)
    : ProcessOperation<Operation>(workspace, "BCA Wet Etch", 28), depth(0.0), optionsAccepted(false)
{}

AtomisticSiWetEtchingOperation::VolumePtr AtomisticSiWetEtchingOperation::chooseVolume() const
{
    for (const PickState::ObjectPtr &object : workspace.getPickState().getSelection()) {
        VolumePtr candidate = boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
        if (candidate)
            return candidate;
    }
    const QList<Document::ObjectPtr> objects = workspace.getDocument().getObjects();
    if (objects.size() == 1)
        return boost::dynamic_pointer_cast<Model::Automaton::TotalVolume>(objects.first());
    return VolumePtr();
}

bool AtomisticSiWetEtchingOperation::runProcess(std::string &failure)
{
    timer.start();
    if (workspace.getVolumeRecords().isLatticeStale(volume->getId())) {
        QString error;
        if (!volume->rebuildSiLattice(&error)) {
            failure = error.toStdString();
            return false;
        }
        qDebug() << "Time to allocate Si structure " << timer.elapsed();
    }
    const bool ran = runReporting(AtomicStructureSimpleSiWetEtch(volume.get(), depth),
                                  &AtomicStructureSimpleSiWetEtch::runEtching, failure);
    qDebug() << "Total time to allocate and run " << timer.elapsed();
    timer.restart();
    return ran;
}

void AtomisticSiWetEtchingOperation::afterRun()
{
    // The crystal now matches the cells: the next etch can carry on with it.
    workspace.getVolumeRecords().setLatticeStale(volume->getId(), false);
}

void AtomisticSiWetEtchingOperation::refreshPicture()
{
    ProcessOperation<Operation>::refreshPicture();
    qDebug() << "Time to build rendered structrure " << timer.elapsed();
}

} // namespace Operations
} // namespace Core
