#include "Core/Operations/SiEtching/wetetchoperation.h"

#include <QDebug>

namespace Core {
namespace Operations {

WetEtchOperation::WetEtchOperation(Workspace &workspace, const std::string &name, quint32 id,
                                   const QString &key)
    : UndoableProcessOperation(workspace, name, id, key), depth(0.0), optionsAccepted(false)
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

bool WetEtchOperation::runWorker(std::string &failure)
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
    // The engine may have removed atoms from the crystal before it gave up. Marked first, so
    // cells put back rebuild a crystal on view only once.
    workspace.getVolumeRecords().setLatticeStale(volume->getId(), true);
    UndoableProcessOperation::recoverFromFailure();
    workspace.refreshShownLattice(*volume);
}

bool WetEtchOperation::undo()
{
    // The etch took atoms from cells it did not empty, which the saved cells do not tell: the
    // crystal no longer fits them even where no cell changed its material.
    workspace.getVolumeRecords().setLatticeStale(volume->getId(), true);
    const bool undone = UndoableProcessOperation::undo();
    fitShownLattice();
    return undone;
}

void WetEtchOperation::redo()
{
    workspace.getVolumeRecords().setLatticeStale(volume->getId(), true);
    UndoableProcessOperation::redo();
    fitShownLattice();
}

void WetEtchOperation::fitShownLattice()
{
    if (workspace.refreshShownLattice(*volume)) {
        volume->getPainter().refresh();
        workspace.notifyUpdate();
    }
}

void WetEtchOperation::refreshPicture()
{
    UndoableProcessOperation::refreshPicture();
    qDebug() << "Time to build rendered structrure " << timer.elapsed();
}

} // namespace Operations
} // namespace Core
