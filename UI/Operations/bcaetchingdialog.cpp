#include "UI/Operations/bcaetchingdialog.h"

#include "ui_bcaetchingdialog.h"

namespace Ui {
namespace Operations {

BCAEtchingDialog::BCAEtchingDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::BCAEtchingDialogForm())
{
    ui->setupUi(this);
}

BCAEtchingDialog::~BCAEtchingDialog()
{
    delete ui;
}

double BCAEtchingDialog::getDepth() const
{
    return ui->dblDepth->value();
}

} // namespace Operations
} // namespace Ui
