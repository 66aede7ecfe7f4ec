#ifndef CELVANE_CORE_OPERATIONS_PHOTOLITHOGRAPHYOPERATION_H
#define CELVANE_CORE_OPERATIONS_PHOTOLITHOGRAPHYOPERATION_H

#include "Core/Operations/classwideprocessoperation.h"

#include <vector>

namespace Core {
namespace Operations {

/// Patterns a resist film with top and bottom masks.
class PhotolithographyOperation : public ClassWideProcessOperation<PhotolithographyOperation>
{
public:
    explicit PhotolithographyOperation(Workspace &workspace);

    void setMaterial(quint32 value) { countInput(material, value); }
    /// Stores the mask and, once a volume is taken, shows it on the volume at once.
    void setBottomMask(const std::vector<bool> &bits, quint32 width, quint32 height);
    void setTopMask(const std::vector<bool> &bits, quint32 width, quint32 height);
    quint32 getMaterial() const { return material; }

    /// Also takes the masks this operation showed off the volume: they were only a preview.
    void cancel() override;

protected:
    void volumeTaken() override;
    bool inputsComplete() const override { return inputCount > 1; }
    bool runWorker(std::string &failure) override;
    void afterRun() override;
    bool changesSilicon() const override { return material == 1; }
    std::string cancelText() const override { return ": Operation Canceled!"; }

private:
    quint32 material;
    std::vector<bool> bottomMask;
    quint32 bottomWidth, bottomHeight;
    std::vector<bool> topMask;
    quint32 topWidth, topHeight;
    bool showedTopMask;
    bool showedBottomMask;
};

} // namespace Operations
} // namespace Core

#endif
