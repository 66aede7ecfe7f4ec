#include "UI/Operations/dopingoptionsdialog.h"

#include "Model/Process/processfactory.h"
#include "UI/Operations/materialcombo.h"
#include "ui_dopingoptionsdialog.h"

namespace Ui {
namespace Operations {

DopingOptionsDialog::DopingOptionsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::DopingOptionsDialogForm())
{
    ui->setupUi(this);
    setMaterials(Model::Process::ProcessFactory::instance()
                     ->getProcess(QStringLiteral("Simple Doping"))
                     .resolveCompatibleMaterials());
}

DopingOptionsDialog::~DopingOptionsDialog()
{
    delete ui;
}

void DopingOptionsDialog::setMaterials(const QList<Model::Materials::Material> &materials)
{
    MaterialCombo::fill(ui->cbxDopedMaterial, materials);
}

double DopingOptionsDialog::getDepth() const
{
    return ui->dblDopingDepth->value();
}

quint32 DopingOptionsDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxDopedMaterial);
}

} // namespace Operations
} // namespace Ui
