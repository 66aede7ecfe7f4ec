#include "UI/Operations/mooreoptionsdialog.h"

#include "UI/Operations/materialcombo.h"
#include "ui_mooreoptionsdialog.h"

namespace Ui {
namespace Operations {

MooreOptionsDialog::MooreOptionsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::MooreOptionsDialogForm())
{
    ui->setupUi(this);
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

} // namespace Operations
} // namespace Ui
