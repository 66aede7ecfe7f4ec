#include "Core/Operations/cutcellvolumeoperation.h"

#include "Core/Operations/volumepicker.h"
#include "Core/Operations/workspace.h"

#include <algorithm>

namespace Core {
namespace Operations {

using Model::Automaton::TotalVolume;

CutCellVolumeOperation::CutCellVolumeOperation(Workspace &workspace)
    : Operation(workspace, "Change Cut Planes", 2),
      state(0), shownLower{0, 0, 0}, shownUpper{0, 0, 0}
{}

void CutCellVolumeOperation::execute()
{
    if (state != 0)
        return;
    volume =
        VolumePicker::takeFirst(workspace, this, ": Select a cell volume and press Enter/Return.");
    if (!volume)
        return;
    // The faces on show were built with the limits the painter holds now.
    volume->getPainter().getCutLimits(shownLower, shownUpper);
    writeMessage(": Cell volume selected.");
    state = 1;
    // Keeps the observer alive while its dialog runs.
    const Util::ObserverPtr o = observer;
    if (o)
        o->update();
}

bool CutCellVolumeOperation::pictureCurrent() const
{
    quint32 lower[3], upper[3];
    volume->getPainter().getCutLimits(lower, upper);
    return std::equal(lower, lower + 3, shownLower) && std::equal(upper, upper + 3, shownUpper);
}

void CutCellVolumeOperation::applyLimits(const quint32 lower[3], const quint32 upper[3],
                                         bool refresh)
{
    if (state < 1 || !volume)
        return;
    Model::Automaton::TotalVolumePainter &painter = volume->getPainter();
    painter.setCutLimits(lower, upper);
    state = 2;
    if (!refresh || pictureCurrent())
        return;
    painter.refresh();
    painter.getCutLimits(shownLower, shownUpper);
    workspace.notifyUpdate();
}

void CutCellVolumeOperation::end()
{
    if (state != 2 || !volume) {
        cancel();
        return;
    }
    if (!pictureCurrent()) {
        volume->getPainter().refresh();
        volume->getPainter().getCutLimits(shownLower, shownUpper);
        workspace.notifyUpdate();
    }
    workspace.getConsoleInput().resetRequest();
    writeMessage(": Cut planes changed.");
    finish();
}

void CutCellVolumeOperation::cancel()
{
    writeMessage(": Operation Canceled!");
    workspace.getConsoleInput().resetRequest();
    clearIfCurrent();
}

} // namespace Operations
} // namespace Core
