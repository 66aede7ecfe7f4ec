#include "UI/Operations/simpleriedialog.h"

#include "UI/Operations/materialcombo.h"
#include "ui_simpleriedialog.h"

namespace Ui {
namespace Operations {

SimpleRIEDialog::SimpleRIEDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::SimpleRIEDialogForm())
{
    ui->setupUi(this);
    MaterialCombo::fillWithCatalogue(ui->cbxMaterial);
}

SimpleRIEDialog::~SimpleRIEDialog()
{
    delete ui;
}

quint32 SimpleRIEDialog::getDepth() const
{
    return quint32(ui->sbxEtchDepth->value());
}

quint32 SimpleRIEDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxMaterial);
}

bool SimpleRIEDialog::etchFromBelow() const
{
    return ui->chkEtchFromBottom->isChecked();
}

bool SimpleRIEDialog::etchFromTop() const
{
    return ui->chkEtchFromTop->isChecked();
}

} // namespace Operations
} // namespace Ui
