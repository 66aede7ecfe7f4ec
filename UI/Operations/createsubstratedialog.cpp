#include "UI/Operations/createsubstratedialog.h"

#include "Model/Automaton/totalvolume.h"
#include "UI/Operations/materialcombo.h"
#include "ui_createsubstratedialog.h"

#include <QMessageBox>

namespace Ui {
namespace Operations {

CreateSubstrateDialog::CreateSubstrateDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::CreateSubstrateDialogForm())
{
    ui->setupUi(this);
    MaterialCombo::fillWithCatalogue(ui->cbxFilm);
    // The limits follow whole numbers, not each keystroke: typing 60 as the total height
    // must not clip the substrate to the 6 seen on the way.
    for (QSpinBox *box : {ui->sbxTotalWidth, ui->sbxTotalLength, ui->sbxTotalHeight,
                          ui->sbxSubsWidth, ui->sbxSubsLength, ui->sbxSubsHeight})
        box->setKeyboardTracking(false);

    typedef void (QSpinBox::*IntSignal)(int);
    const IntSignal changed = &QSpinBox::valueChanged;
    connect(ui->sbxTotalWidth, changed, this, &CreateSubstrateDialog::updateLimitX);
    connect(ui->sbxTotalLength, changed, this, &CreateSubstrateDialog::updateLimitY);
    connect(ui->sbxTotalHeight, changed, this, &CreateSubstrateDialog::updateLimitZ);
    connect(ui->sbxSubsWidth, changed, this, &CreateSubstrateDialog::updateSubstrateDispX);
    connect(ui->sbxSubsLength, changed, this, &CreateSubstrateDialog::updateSubstrateDispY);
    connect(ui->sbxSubsHeight, changed, this, &CreateSubstrateDialog::updateSubstrateDispZ);
    connect(ui->cbxSubsSphere, &QCheckBox::toggled, this, &CreateSubstrateDialog::toggleSubsShape);

    updateLimitX(ui->sbxTotalWidth->value());
    updateLimitY(ui->sbxTotalLength->value());
    updateLimitZ(ui->sbxTotalHeight->value());
    ui->sbxSubsHeight->setValue(30);
    updateSubstrateDispZ(ui->sbxSubsHeight->value());
    toggleSubsShape(ui->cbxSubsSphere->isChecked());
}

CreateSubstrateDialog::~CreateSubstrateDialog()
{
    delete ui;
}

void CreateSubstrateDialog::updateLimitX(int value)
{
    ui->sbxSubsWidth->setMaximum(value);
    ui->sbxSubsWidth->setValue(value);
    ui->sbxSubsX->setMaximum(0);
    ui->sbxSubsCenterX->setMaximum(value - 1);
}

void CreateSubstrateDialog::updateLimitY(int value)
{
    ui->sbxSubsLength->setMaximum(value);
    ui->sbxSubsLength->setValue(value);
    ui->sbxSubsY->setMaximum(0);
    ui->sbxSubsCenterY->setMaximum(value - 1);
}

void CreateSubstrateDialog::updateLimitZ(int value)
{
    ui->sbxSubsHeight->setMaximum(value); // the value is kept unless it exceeds the total
    ui->sbxSubsZ->setMaximum(value - ui->sbxSubsHeight->value());
    ui->sbxSubsCenterZ->setMaximum(value - 1);
}

void CreateSubstrateDialog::updateSubstrateDispX(int value)
{
    ui->sbxSubsX->setMaximum(ui->sbxTotalWidth->value() - value);
}

void CreateSubstrateDialog::updateSubstrateDispY(int value)
{
    ui->sbxSubsY->setMaximum(ui->sbxTotalLength->value() - value);
}

void CreateSubstrateDialog::updateSubstrateDispZ(int value)
{
    ui->sbxSubsZ->setMaximum(ui->sbxTotalHeight->value() - value);
}

void CreateSubstrateDialog::toggleSubsShape(bool spherical)
{
    const QList<QWidget *> box = {
        ui->sbxSubsWidth, ui->sbxSubsLength, ui->sbxSubsHeight, ui->sbxSubsX,      ui->sbxSubsY,
        ui->sbxSubsZ,     ui->lblSubsWidth,  ui->lblSubsLength, ui->lblSubsHeight, ui->lblSubsX,
        ui->lblSubsY,     ui->lblSubsZ,      ui->lblSubsCorner};
    const QList<QWidget *> sphere = {ui->sbxSubsCenterX, ui->sbxSubsCenterY, ui->sbxSubsCenterZ,
                                     ui->sbxSubsRadius,  ui->lblSubsCenterX, ui->lblSubsCenterY,
                                     ui->lblSubsCenterZ, ui->lblSubsRadius};
    for (QWidget *w : box)
        w->setEnabled(!spherical);
    for (QWidget *w : sphere)
        w->setEnabled(spherical);
}

void CreateSubstrateDialog::accept()
{
    QString error;
    if (!Model::Automaton::TotalVolume::checkAllocation(getCellsX(), getCellsY(), getCellsZ(),
                                                        &error)) {
        QMessageBox::warning(this, windowTitle(), error);
        return;
    }
    QDialog::accept();
}

quint32 CreateSubstrateDialog::getMaterialId() const
{
    return ui->cbxFilm->currentData().toUInt();
}

quint32 CreateSubstrateDialog::getCellsX() const
{
    return quint32(ui->sbxTotalWidth->value());
}

quint32 CreateSubstrateDialog::getCellsY() const
{
    return quint32(ui->sbxTotalLength->value());
}

quint32 CreateSubstrateDialog::getCellsZ() const
{
    return quint32(ui->sbxTotalHeight->value());
}

quint32 CreateSubstrateDialog::getWidth() const
{
    return quint32(ui->sbxSubsWidth->value());
}

quint32 CreateSubstrateDialog::getLength() const
{
    return quint32(ui->sbxSubsLength->value());
}

quint32 CreateSubstrateDialog::getHeight() const
{
    return quint32(ui->sbxSubsHeight->value());
}

quint32 CreateSubstrateDialog::getOffsetX() const
{
    return quint32(ui->sbxSubsX->value());
}

quint32 CreateSubstrateDialog::getOffsetY() const
{
    return quint32(ui->sbxSubsY->value());
}

quint32 CreateSubstrateDialog::getOffsetZ() const
{
    return quint32(ui->sbxSubsZ->value());
}

bool CreateSubstrateDialog::isSpherical() const
{
    return ui->cbxSubsSphere->isChecked();
}

quint32 CreateSubstrateDialog::getCenterX() const
{
    return quint32(ui->sbxSubsCenterX->value());
}

quint32 CreateSubstrateDialog::getCenterY() const
{
    return quint32(ui->sbxSubsCenterY->value());
}

quint32 CreateSubstrateDialog::getCenterZ() const
{
    return quint32(ui->sbxSubsCenterZ->value());
}

quint32 CreateSubstrateDialog::getRadius() const
{
    return quint32(ui->sbxSubsRadius->value());
}

Util::Vector3D CreateSubstrateDialog::getPosition() const
{
    return Util::Vector3D(ui->dblVolumeX->value(), ui->dblVolumeY->value(),
                          ui->dblVolumeZ->value());
}

} // namespace Operations
} // namespace Ui
