#include "UI/Operations/isotropicdepositiondialog.h"

#include "UI/Operations/materialcombo.h"
#include "ui_isotropicdepositiondialog.h"

namespace Ui {
namespace Operations {

IsotropicDepositionDialog::IsotropicDepositionDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::IsotropicDepositionDialogForm())
{
    ui->setupUi(this);
}

IsotropicDepositionDialog::~IsotropicDepositionDialog()
{
    delete ui;
}

void IsotropicDepositionDialog::setMaterials(const QList<Model::Materials::Material> &materials)
{
    MaterialCombo::fill(ui->cbxMaterial, materials);
}

double IsotropicDepositionDialog::getThickness() const
{
    return ui->dblThickness->value();
}

quint32 IsotropicDepositionDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxMaterial);
}

} // namespace Operations
} // namespace Ui
