#include "UI/Operations/electrodepositiondialog.h"

#include "UI/Operations/materialcombo.h"
#include "ui_electrodepositiondialog.h"

namespace Ui {
namespace Operations {

ElectrodepositionDialog::ElectrodepositionDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::ElectrodepositionDialogForm())
{
    ui->setupUi(this);
    MaterialCombo::fillWithCatalogue(ui->cbxMaterial);
    MaterialCombo::fillWithCatalogue(ui->cbxConductingMaterial);
}

ElectrodepositionDialog::~ElectrodepositionDialog()
{
    delete ui;
}

double ElectrodepositionDialog::getThickness() const
{
    return ui->dblFilmThickness->value();
}

quint32 ElectrodepositionDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxMaterial);
}

quint32 ElectrodepositionDialog::getConductingMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxConductingMaterial);
}

} // namespace Operations
} // namespace Ui
