#include "UI/Operations/planarizationoptionsdialog.h"

#include "ui_planarizationoptionsdialog.h"

namespace Ui {
namespace Operations {

PlanarizationOptionsDialog::PlanarizationOptionsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::PlanarizationOptionsDialogForm())
{
    ui->setupUi(this);
    connect(ui->sbxMaximumHeight, qOverload<int>(&QSpinBox::valueChanged), this,
            &PlanarizationOptionsDialog::updateMinimumLimits);
}

PlanarizationOptionsDialog::~PlanarizationOptionsDialog()
{
    delete ui;
}

void PlanarizationOptionsDialog::setHeightLimit(int cellsZ)
{
    ui->sbxMaximumHeight->setMaximum(cellsZ);
    ui->sbxMaximumHeight->setValue(cellsZ);
    ui->sbxMinimumHeight->setMaximum(cellsZ);
}

void PlanarizationOptionsDialog::updateMinimumLimits(int maximumHeight)
{
    ui->sbxMinimumHeight->setMaximum(maximumHeight);
}

quint32 PlanarizationOptionsDialog::getMinimumHeight() const
{
    return quint32(ui->sbxMinimumHeight->value());
}

quint32 PlanarizationOptionsDialog::getMaximumHeight() const
{
    return quint32(ui->sbxMaximumHeight->value());
}

} // namespace Operations
} // namespace Ui
