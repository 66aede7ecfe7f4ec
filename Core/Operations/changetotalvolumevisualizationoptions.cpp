#include "Core/Operations/changetotalvolumevisualizationoptions.h"

#include "Core/Operations/workspace.h"

namespace Core {
namespace Operations {

using Model::Automaton::TotalVolume;
using Model::Automaton::TotalVolumePainter;

namespace {
Util::ObserverPtr &classObserver()
{
    static Util::ObserverPtr observer;
    return observer;
}
} // namespace

ChangeTotalVolumeVisualizationOptions::Options
ChangeTotalVolumeVisualizationOptions::Options::of(const TotalVolumePainter &painter)
{
    Options o;
    o.renderSiAtoms = painter.getRenderSiAtoms();
    o.renderSurfaceAtomsOnly = painter.getRenderSurfaceAtomsOnly();
    o.renderSiAtomLinks = painter.getRenderSiAtomLinks();
    o.renderSiUnitCells = painter.getRenderSiUnitCells();
    o.renderSiUnitCellOutlines = painter.getRenderSiUnitCellOutlines();
    o.renderEmptyVoxelOutlines = painter.getShowEmptyVoxelOutlines();
    o.surfaceAlgorithm = painter.getSurfaceAlgorithm();
    return o;
}

void ChangeTotalVolumeVisualizationOptions::Options::applyTo(TotalVolumePainter &painter) const
{
    painter.setRenderSiAtoms(renderSiAtoms);
    painter.setRenderSurfaceAtomsOnly(renderSurfaceAtomsOnly);
    painter.setRenderSiAtomLinks(renderSiAtomLinks);
    painter.setRenderSiUnitCells(renderSiUnitCells);
    painter.setRenderSiUnitCellOutlines(renderSiUnitCellOutlines);
    painter.setShowEmptyVoxelOutlines(renderEmptyVoxelOutlines);
    // Built by the refresh that follows: building here too made the change take twice as long.
    painter.setSurfaceAlgorithm(surfaceAlgorithm, false);
}

ChangeTotalVolumeVisualizationOptions::ChangeTotalVolumeVisualizationOptions(Workspace &workspace)
    : Operation(workspace, "Change Visualization", 6), step(0)
{}

void ChangeTotalVolumeVisualizationOptions::setObserver(const Util::ObserverPtr &observer)
{
    classObserver() = observer;
}

Util::ObserverPtr ChangeTotalVolumeVisualizationOptions::getObserver()
{
    return classObserver();
}

void ChangeTotalVolumeVisualizationOptions::execute()
{
    if (step == 2) {
        end();
        return;
    }
    if (step != 0)
        return;
    TotalVolume::Ptr chosen;
    for (const boost::shared_ptr<Model::Object> &object : workspace.getPickState().getSelection()) {
        const TotalVolume::Ptr candidate = boost::dynamic_pointer_cast<TotalVolume>(object);
        if (candidate)
            chosen = candidate;
    }
    if (!chosen) {
        writeMessage(": Select a cell volume and press Enter/Return.");
        workspace.getConsoleInput().requestEnter(this);
        workspace.getSelection().setSelectionMode(true);
        return;
    }
    volume = chosen;
    workspace.getSelection().clearSelection();
    workspace.getSelection().setSelectionMode(false);
    workspace.notifyUpdate();
    writeMessage(": Cell volume selected.");
    step = 1;
    // Keeps the observer alive while its dialog runs, even if another window replaces it.
    const Util::ObserverPtr observer = classObserver();
    if (observer)
        observer->update();
}

void ChangeTotalVolumeVisualizationOptions::setOptions(const Options &o)
{
    if (step != 1)
        return;
    options = o;
    step = 2;
}

void ChangeTotalVolumeVisualizationOptions::end()
{
    if (step != 2) {
        cancel();
        clearIfCurrent();
        return;
    }
    step = 3; // applied once, whatever calls end() again
    Model::Automaton::TotalVolumePainter &painter = volume->getPainter();
    options.applyTo(painter);
    // Atoms asked for on a volume not etched yet, or changed since: a crystal that fits.
    QString error;
    if (!workspace.refreshShownLattice(*volume, &error) && !error.isEmpty())
        writeMessage(": The silicon crystal could not be built (" + error.toStdString() + ").");
    painter.refresh();
    // The same dialog may have changed material colours, which every volume shows.
    for (const boost::shared_ptr<Model::Object> &object : workspace.getDocument().getObjects()) {
        const TotalVolume::Ptr other = boost::dynamic_pointer_cast<TotalVolume>(object);
        if (other)
            other->getPainter().recolor();
    }
    finish();
    writeMessage(": Options changed.");
}

void ChangeTotalVolumeVisualizationOptions::cancel()
{
    writeMessage(": Operation Canceled!");
    workspace.getConsoleInput().resetRequest();
}

} // namespace Operations
} // namespace Core
