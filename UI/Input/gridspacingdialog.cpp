#include "UI/Input/gridspacingdialog.h"

#include "ui_gridspacingdialog.h"

namespace Ui {
namespace Input {

GridSpacingDialog::GridSpacingDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::GridSpacingDialogForm())
{
    ui->setupUi(this);
}

GridSpacingDialog::~GridSpacingDialog()
{
    delete ui;
}

double GridSpacingDialog::getSpacing() const
{
    return ui->dbxSpacing->value();
}

void GridSpacingDialog::setSpacing(double value)
{
    ui->dbxSpacing->setValue(value);
}

} // namespace Input
} // namespace Ui
