#include "UI/Operations/spincoatingoptionsdialog.h"

#include "Model/Process/processfactory.h"
#include "UI/Operations/materialcombo.h"
#include "ui_spincoatingoptionsdialog.h"

namespace Ui {
namespace Operations {

SpinCoatingOptionsDialog::SpinCoatingOptionsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::SpinCoatingOptionsDialogForm())
{
    ui->setupUi(this);
    MaterialCombo::fillWithCatalogue(ui->cbxMaterial);
    // Every material may be poured, but the process's own (resists, PDMS) are what is poured
    // in practice: start on the first of them rather than on silicon.
    const QList<quint32> poured =
        Model::Process::ProcessFactory::instance()
            ->getProcess(QStringLiteral("Spin Coating / Soft Lithography"))
            .getCompatibleMaterials();
    if (!poured.isEmpty())
        MaterialCombo::select(ui->cbxMaterial, poured.first());
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
