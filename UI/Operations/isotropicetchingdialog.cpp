#include "UI/Operations/isotropicetchingdialog.h"

#include "UI/Operations/materialcombo.h"
#include "ui_isotropicetchingdialog.h"

namespace Ui {
namespace Operations {

IsotropicEtchingDialog::IsotropicEtchingDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::IsotropicEtchingDialogForm())
{
    ui->setupUi(this);
}

IsotropicEtchingDialog::~IsotropicEtchingDialog()
{
    delete ui;
}

void IsotropicEtchingDialog::setProcess(const Model::Process::Process &process)
{
    setWindowTitle(process.getName() + QStringLiteral(" Options"));
    MaterialCombo::fill(ui->cbxMaterial, process.resolveCompatibleMaterials());
}

double IsotropicEtchingDialog::getDepth() const
{
    return ui->dblDepth->value();
}

void IsotropicEtchingDialog::setMaterialId(quint32 id)
{
    MaterialCombo::select(ui->cbxMaterial, id);
}

quint32 IsotropicEtchingDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxMaterial);
}

} // namespace Operations
} // namespace Ui
