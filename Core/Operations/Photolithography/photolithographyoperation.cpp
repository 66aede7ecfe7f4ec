#include "Core/Operations/Photolithography/photolithographyoperation.h"

#include "Core/Operations/Photolithography/photolithography.h"

namespace Core {
namespace Operations {

PhotolithographyOperation::PhotolithographyOperation(Workspace &workspace)
    : ClassWideProcessOperation(workspace, "Photolithography", 20,
                                QStringLiteral("Photolithography")),
      material(0), bottomWidth(0), bottomHeight(0), topWidth(0), topHeight(0), showedTopMask(false),
      showedBottomMask(false)
{}

void PhotolithographyOperation::volumeTaken()
{
    // One count for the volume; the dialog's material makes the second.
    inputCount = 1;
    if (observer)
        observer->update();
}

void PhotolithographyOperation::setBottomMask(const std::vector<bool> &bits, quint32 width,
                                              quint32 height)
{
    bottomMask = bits;
    bottomWidth = width;
    bottomHeight = height;
    if (volume) {
        showedBottomMask = true;
        volume->setBottomMask(bits, width, height);
        workspace.notifyUpdate();
    }
}

void PhotolithographyOperation::setTopMask(const std::vector<bool> &bits, quint32 width,
                                           quint32 height)
{
    topMask = bits;
    topWidth = width;
    topHeight = height;
    if (volume) {
        showedTopMask = true;
        volume->setTopMask(bits, width, height);
        workspace.notifyUpdate();
    }
}

bool PhotolithographyOperation::runWorker(std::string &failure)
{
    return runReporting(Photolithography(volume.get(), material, bottomMask, bottomWidth,
                                         bottomHeight, topMask, topWidth, topHeight),
                        &Photolithography::run, failure);
}

void PhotolithographyOperation::cancel()
{
    if (volume && (showedTopMask || showedBottomMask)) {
        if (showedTopMask)
            volume->setTopMask(std::vector<bool>(), 0, 0);
        if (showedBottomMask)
            volume->setBottomMask(std::vector<bool>(), 0, 0);
        showedTopMask = showedBottomMask = false;
        workspace.notifyUpdate();
    }
    ClassWideProcessOperation::cancel();
}

void PhotolithographyOperation::afterRun()
{
    volume->setTopMask(std::vector<bool>(), 0, 0);
    volume->setBottomMask(std::vector<bool>(), 0, 0);
}

} // namespace Operations
} // namespace Core
