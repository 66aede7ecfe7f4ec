#include "UI/Operations/ionimplantationoptionsdialog.h"

#include "Model/Process/processfactory.h"
#include "UI/Operations/materialcombo.h"
#include "ui_ionimplantationoptionsdialog.h"

namespace Ui {
namespace Operations {

IonImplantationOptionsDialog::IonImplantationOptionsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::IonImplantationOptionsDialogForm())
{
    ui->setupUi(this);
    setMaterials(Model::Process::ProcessFactory::instance()
                     ->getProcess(QStringLiteral("Ion Implantation"))
                     .resolveCompatibleMaterials());
}

IonImplantationOptionsDialog::~IonImplantationOptionsDialog()
{
    delete ui;
}

void IonImplantationOptionsDialog::setMaterials(const QList<Model::Materials::Material> &materials)
{
    MaterialCombo::fill(ui->cbxDopedMaterial, materials);
}

double IonImplantationOptionsDialog::getImplantationDepth() const
{
    return ui->dblImplantationDepth->value();
}

double IonImplantationOptionsDialog::getAnnealingDistance() const
{
    return ui->dblAnnealingDistance->value();
}

quint32 IonImplantationOptionsDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxDopedMaterial);
}

} // namespace Operations
} // namespace Ui
