#include "UI/Input/viewangledialog.h"

#include "ui_viewangledialog.h"

namespace Ui {
namespace Input {

ViewAngleDialog::ViewAngleDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::ViewAngleDialogForm())
{
    ui->setupUi(this);
}

ViewAngleDialog::~ViewAngleDialog()
{
    delete ui;
}

double ViewAngleDialog::getAngleX() const
{
    return ui->dbxAngleX->value();
}

void ViewAngleDialog::setAngleX(double value)
{
    ui->dbxAngleX->setValue(value);
}

double ViewAngleDialog::getAngleY() const
{
    return ui->dbxAngleY->value();
}

void ViewAngleDialog::setAngleY(double value)
{
    ui->dbxAngleY->setValue(value);
}

double ViewAngleDialog::getAngleZ() const
{
    return ui->dbxAngleZ->value();
}

void ViewAngleDialog::setAngleZ(double value)
{
    ui->dbxAngleZ->setValue(value);
}

} // namespace Input
} // namespace Ui
