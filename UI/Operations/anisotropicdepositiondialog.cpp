#include "UI/Operations/anisotropicdepositiondialog.h"

#include "UI/Operations/materialcombo.h"
#include "ui_anisotropicdepositiondialog.h"

namespace Ui {
namespace Operations {

AnisotropicDepositionDialog::AnisotropicDepositionDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::AnisotropicDepositionDialogForm())
{
    ui->setupUi(this);
}

AnisotropicDepositionDialog::~AnisotropicDepositionDialog()
{
    delete ui;
}

void AnisotropicDepositionDialog::setProcess(const Model::Process::Process &process)
{
    setWindowTitle(process.getName() + QStringLiteral(" Options"));
    MaterialCombo::fill(ui->cbxMaterials, process.resolveCompatibleMaterials());
}

double AnisotropicDepositionDialog::getThickness() const
{
    return ui->dbxFilmThickness->value();
}

quint32 AnisotropicDepositionDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxMaterials);
}

double AnisotropicDepositionDialog::getRatio() const
{
    return ui->dbxHVRatio->value();
}

quint32 AnisotropicDepositionDialog::getDepositOn() const
{
    if (ui->radDepositOnBottom->isChecked())
        return 2;
    if (ui->radDepositOnTopAndBottom->isChecked())
        return 3;
    return 1;
}

} // namespace Operations
} // namespace Ui
