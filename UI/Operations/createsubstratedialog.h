#ifndef CELVANE_UI_OPERATIONS_CREATESUBSTRATEDIALOG_H
#define CELVANE_UI_OPERATIONS_CREATESUBSTRATEDIALOG_H

#include "Util/vector3d.h"

#include <QDialog>

namespace Ui {
class CreateSubstrateDialogForm;
}

namespace Ui {
namespace Operations {

/// Size of the cell volume, the block or ball of substrate in it, its position and material.
/// The limits keep the block and the ball's centre inside the volume.
class CreateSubstrateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CreateSubstrateDialog(QWidget *parent = nullptr);
    ~CreateSubstrateDialog() override;

    Ui::CreateSubstrateDialogForm *form() const { return ui; }

    quint32 getMaterialId() const;
    quint32 getCellsX() const;
    quint32 getCellsY() const;
    quint32 getCellsZ() const;
    quint32 getWidth() const;
    quint32 getLength() const;
    quint32 getHeight() const;
    quint32 getOffsetX() const;
    quint32 getOffsetY() const;
    quint32 getOffsetZ() const;
    bool isSpherical() const;
    quint32 getCenterX() const;
    quint32 getCenterY() const;
    quint32 getCenterZ() const;
    quint32 getRadius() const;
    Util::Vector3D getPosition() const;

public Q_SLOTS:
    /// Closes only when a volume of the entered size can be allocated now; otherwise it says
    /// why and stays open with the values, so the user can make it smaller.
    void accept() override;
    void updateLimitX(int value);
    void updateLimitY(int value);
    void updateLimitZ(int value);
    void updateSubstrateDispX(int value);
    void updateSubstrateDispY(int value);
    void updateSubstrateDispZ(int value);
    void toggleSubsShape(bool spherical);

private:
    Ui::CreateSubstrateDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
