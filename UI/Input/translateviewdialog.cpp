#include "UI/Input/translateviewdialog.h"

#include "ui_translateviewdialog.h"

namespace Ui {
namespace Input {

TranslateViewDialog::TranslateViewDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::TranslateViewDialogForm())
{
    ui->setupUi(this);
}

TranslateViewDialog::~TranslateViewDialog()
{
    delete ui;
}

double TranslateViewDialog::getDistanceX() const
{
    return ui->dbxDistanceX->value();
}

void TranslateViewDialog::setDistanceX(double value)
{
    ui->dbxDistanceX->setValue(value);
}

double TranslateViewDialog::getDistanceY() const
{
    return ui->dbxDistanceY->value();
}

void TranslateViewDialog::setDistanceY(double value)
{
    ui->dbxDistanceY->setValue(value);
}

double TranslateViewDialog::getDistanceZ() const
{
    return ui->dbxDistanceZ->value();
}

void TranslateViewDialog::setDistanceZ(double value)
{
    ui->dbxDistanceZ->setValue(value);
}

} // namespace Input
} // namespace Ui
