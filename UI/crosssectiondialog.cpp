#include "UI/crosssectiondialog.h"

#include "ui_crosssectiondialog.h"

#include <algorithm>
#include <limits>

namespace Ui {

CrossSectionDialog::CrossSectionDialog(const quint32 cellCounts[3], QWidget *parent)
    : QDialog(parent),
      ui(new Ui::CrossSectionDialogForm()), cells{cellCounts[0], cellCounts[1], cellCounts[2]}
{
    ui->setupUi(this);
    connect(ui->cbxAxis, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CrossSectionDialog::axisChanged);
    // Across z by default: a layer seen from above, in the middle of the volume.
    ui->cbxAxis->setCurrentIndex(2);
    axisChanged(2);
    ui->sbxIndex->setValue(ui->sbxIndex->maximum() / 2);
    // A picture some 400 pixels across whatever the volume's size: one pixel per cell makes
    // a 100-cell substrate a thumbnail next to its legend.
    const quint32 longest = std::max({cells[0], cells[1], cells[2], quint32(1)});
    ui->sbxPixels->setValue(
        int(std::min<quint32>((400 + longest - 1) / longest, quint32(ui->sbxPixels->maximum()))));
}

CrossSectionDialog::~CrossSectionDialog()
{
    delete ui;
}

void CrossSectionDialog::axisChanged(int axis)
{
    if (axis < 0 || axis > 2)
        return;
    const quint32 last = cells[axis] > 0 ? cells[axis] - 1 : 0;
    ui->sbxIndex->setMaximum(int(qMin<quint32>(last, std::numeric_limits<int>::max())));
}

int CrossSectionDialog::getAxis() const
{
    return ui->cbxAxis->currentIndex();
}

quint32 CrossSectionDialog::getIndex() const
{
    return quint32(ui->sbxIndex->value());
}

int CrossSectionDialog::getCellPixels() const
{
    return ui->sbxPixels->value();
}

} // namespace Ui
