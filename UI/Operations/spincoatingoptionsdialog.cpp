#include "UI/Operations/spincoatingoptionsdialog.h"

#include "UI/Operations/materialcombo.h"
#include "ui_spincoatingoptionsdialog.h"

namespace Ui {
namespace Operations {

SpinCoatingOptionsDialog::SpinCoatingOptionsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::SpinCoatingOptionsDialogForm())
{
    ui->setupUi(this);
    MaterialCombo::fillWithCatalogue(ui->cbxMaterial);
}

SpinCoatingOptionsDialog::~SpinCoatingOptionsDialog()
{
    delete ui;
}

void SpinCoatingOptionsDialog::setHeightLimit(int cellsZ)
{
    ui->sbxHeight->setMaximum(cellsZ);
}

quint32 SpinCoatingOptionsDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxMaterial);
}

quint32 SpinCoatingOptionsDialog::getHeight() const
{
    return quint32(ui->sbxHeight->value());
}

} // namespace Operations
} // namespace Ui
