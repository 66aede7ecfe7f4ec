#include "UI/Operations/mooreoptionsdialog.h"

#include "Core/Operations/MooreNeighborhood/mooreneighborhoodoperation.h"
#include "UI/Operations/materialcombo.h"
#include "ui_mooreoptionsdialog.h"

namespace Ui {
namespace Operations {

MooreOptionsDialog::MooreOptionsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::MooreOptionsDialogForm())
{
    ui->setupUi(this);
    MaterialCombo::fillWithCatalogue(ui->cbxFilm);
}

MooreOptionsDialog::~MooreOptionsDialog()
{
    delete ui;
}

void MooreOptionsDialog::setValueLabel(const QString &text)
{
    ui->lblValue->setText(text);
}

quint32 MooreOptionsDialog::getSteps() const
{
    return quint32(ui->sbxValue->value());
}

quint32 MooreOptionsDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxFilm);
}

void MooreOptionsDialog::ask(Core::Operations::MooreNeighborhoodOperation &operation,
                             QWidget *parent, const QString &label)
{
    MooreOptionsDialog dialog(parent);
    dialog.setValueLabel(label);
    if (dialog.exec() != QDialog::Accepted) {
        operation.cancel();
        return;
    }
    operation.setMaterial(dialog.getMaterialId());
    operation.setSteps(dialog.getSteps());
    operation.end();
}

} // namespace Operations
} // namespace Ui
