#include "UI/Operations/gluesubstratedialog.h"

#include "ui_gluesubstratedialog.h"

#include <algorithm>

namespace Ui {
namespace Operations {

GlueSubstrateDialog::GlueSubstrateDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::GlueSubstrateForm())
{
    ui->setupUi(this);
}

GlueSubstrateDialog::~GlueSubstrateDialog()
{
    delete ui;
}

void GlueSubstrateDialog::setLimits(quint32 minSizeX, quint32 minSizeY, quint32 minSizeZ,
                                    quint32 maxDisplacementX, quint32 maxDisplacementY)
{
    auto fit = [](QSpinBox *box, quint32 value) {
        return int(std::min<quint32>(value, quint32(box->maximum())));
    };
    ui->sbxSizeX->setMinimum(fit(ui->sbxSizeX, minSizeX));
    ui->sbxSizeX->setValue(ui->sbxSizeX->minimum());
    ui->sbxSizeX->setEnabled(false);
    ui->sbxSizeY->setMinimum(fit(ui->sbxSizeY, minSizeY));
    ui->sbxSizeY->setValue(ui->sbxSizeY->minimum());
    ui->sbxSizeY->setEnabled(false);
    ui->sbxSizeZ->setMinimum(fit(ui->sbxSizeZ, minSizeZ));
    ui->sbxSizeZ->setValue(ui->sbxSizeZ->minimum());
    ui->sbxDisplacementX->setMaximum(fit(ui->sbxDisplacementX, maxDisplacementX));
    ui->sbxDisplacementY->setMaximum(fit(ui->sbxDisplacementY, maxDisplacementY));
}

quint32 GlueSubstrateDialog::getSizeX() const
{
    return quint32(ui->sbxSizeX->value());
}

quint32 GlueSubstrateDialog::getSizeY() const
{
    return quint32(ui->sbxSizeY->value());
}

quint32 GlueSubstrateDialog::getSizeZ() const
{
    return quint32(ui->sbxSizeZ->value());
}

quint32 GlueSubstrateDialog::getDisplacementX() const
{
    return quint32(ui->sbxDisplacementX->value());
}

quint32 GlueSubstrateDialog::getDisplacementY() const
{
    return quint32(ui->sbxDisplacementY->value());
}

bool GlueSubstrateDialog::invertTop() const
{
    return ui->chkInvertTopSubstrate->isChecked();
}

} // namespace Operations
} // namespace Ui
