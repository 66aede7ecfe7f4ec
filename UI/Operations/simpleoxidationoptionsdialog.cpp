#include "UI/Operations/simpleoxidationoptionsdialog.h"

#include "ui_simpleoxidationoptionsdialog.h"

namespace Ui {
namespace Operations {

SimpleOxidationOptionsDialog::SimpleOxidationOptionsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::SimpleOxidationOptionsDialogForm())
{
    ui->setupUi(this);
}

SimpleOxidationOptionsDialog::~SimpleOxidationOptionsDialog()
{
    delete ui;
}

bool SimpleOxidationOptionsDialog::isTimeGiven() const
{
    return ui->radOxidationTime->isChecked();
}

double SimpleOxidationOptionsDialog::getOxideThickness() const
{
    return ui->sbxOxideThickness->value();
}

double SimpleOxidationOptionsDialog::getOxidationTime() const
{
    return ui->sbxOxidationTime->value();
}

double SimpleOxidationOptionsDialog::getOxidationTemperature() const
{
    return ui->sbxOxidationTemperature->value();
}

double SimpleOxidationOptionsDialog::getOxidationPressure() const
{
    return ui->sbxOxidationPressure->value();
}

double SimpleOxidationOptionsDialog::getMicronConversion() const
{
    return ui->sbxMicronConversion->value();
}

} // namespace Operations
} // namespace Ui
