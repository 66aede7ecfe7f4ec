#include "Core/Operations/SiEtching/wetetchoperation.h"

#include <QDebug>

namespace Core {
namespace Operations {

WetEtchOperation::WetEtchOperation(Workspace &workspace, const std::string &name, quint32 id)
    : ProcessOperation<Operation>(workspace, name, id), depth(0.0), optionsAccepted(false),
      beforeRun(QStringLiteral("WetEtchBefore"), &workspace), recorded(false)
{}

WetEtchOperation::VolumePtr WetEtchOperation::chooseVolume() const
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

bool WetEtchOperation::runProcess(std::string &failure)
{
    QString recordError;
    if (!beforeRun.saveUndoState(*volume, &recordError)) {
        failure = "the cells could not be recorded (" + recordError.toStdString() + ")";
        return false;
    }
    recorded = true;
    timer.start();
    if (workspace.getVolumeRecords().isLatticeStale(volume->getId())) {
        QString error;
        if (!volume->rebuildSiLattice(&error)) {
            failure = error.toStdString();
            return false;
        }
        qDebug() << "Time to allocate Si structure " << timer.elapsed();
    }
    const bool ran = runEngine(failure);
    qDebug() << "Total time to allocate and run " << timer.elapsed();
    timer.restart();
    return ran;
}

void WetEtchOperation::afterRun()
{
    // The crystal now matches the cells: the next etch can carry on with it.
    workspace.getVolumeRecords().setLatticeStale(volume->getId(), false);
}

void WetEtchOperation::recoverFromFailure()
{
    if (recorded)
        beforeRun.loadState(workspace.getVolumeStates().undoFileName(), *volume);
    // The crystal kept the atoms the etch removed: the next etch builds a new one.
    workspace.getVolumeRecords().setLatticeStale(volume->getId(), true);
}

void WetEtchOperation::refreshPicture()
{
    ProcessOperation<Operation>::refreshPicture();
    qDebug() << "Time to build rendered structrure " << timer.elapsed();
}

} // namespace Operations
} // namespace Core
