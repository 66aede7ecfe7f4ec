#include "UI/Operations/cutcellvolumedialog.h"

#include "ui_cutcellvolumedialog.h"

#include <algorithm>
#include <limits>

namespace Ui {
namespace Operations {

namespace {
int clampToInt(quint32 value)
{
    return int(std::min<quint32>(value, quint32(std::numeric_limits<int>::max())));
}
} // namespace

CutCellVolumeDialog::CutCellVolumeDialog(const quint32 counts[3], const quint32 lower[3],
                                         const quint32 upper[3], QWidget *parent)
    : QDialog(parent), ui(new Ui::CutCellVolumeBaseDialog())
{
    ui->setupUi(this);
    QSpinBox *lowers[3] = {ui->sbxLowerX, ui->sbxLowerY, ui->sbxLowerZ};
    QSpinBox *uppers[3] = {ui->sbxUpperX, ui->sbxUpperY, ui->sbxUpperZ};
    QSlider *lowerSlides[3] = {ui->sldLowerX, ui->sldLowerY, ui->sldLowerZ};
    QSlider *upperSlides[3] = {ui->sldUpperX, ui->sldUpperY, ui->sldUpperZ};
    previewTimer.setSingleShot(true);
    previewTimer.setInterval(0);
    connect(&previewTimer, &QTimer::timeout, this, &CutCellVolumeDialog::previewRequested);

    typedef void (QSpinBox::*IntSignal)(int);
    const IntSignal boxChanged = &QSpinBox::valueChanged;
    for (int axis = 0; axis < 3; ++axis) {
        lowerBoxes[axis] = lowers[axis];
        upperBoxes[axis] = uppers[axis];
        lowerSliders[axis] = lowerSlides[axis];
        upperSliders[axis] = upperSlides[axis];
        const int count = std::max(1, clampToInt(counts[axis]));
        for (QSpinBox *box : {lowers[axis], uppers[axis]})
            box->blockSignals(true);
        lowers[axis]->setRange(0, count - 1);
        uppers[axis]->setRange(1, count);
        lowerSlides[axis]->setRange(0, count - 1);
        upperSlides[axis]->setRange(1, count);
        // Present limits that leave the axis empty open as a one-cell slice.
        const int up = std::max(1, std::min(count, clampToInt(upper[axis])));
        const int low = std::min(up - 1, clampToInt(lower[axis]));
        lowers[axis]->setValue(low);
        uppers[axis]->setValue(up);
        lowerSlides[axis]->setValue(low);
        upperSlides[axis]->setValue(up);
        for (QSpinBox *box : {lowers[axis], uppers[axis]})
            box->blockSignals(false);

        connect(lowerSlides[axis], &QSlider::valueChanged, lowers[axis], &QSpinBox::setValue);
        connect(upperSlides[axis], &QSlider::valueChanged, uppers[axis], &QSpinBox::setValue);
        connect(lowers[axis], boxChanged, this, [this, axis](int v) { lowerChanged(axis, v); });
        connect(uppers[axis], boxChanged, this, [this, axis](int v) { upperChanged(axis, v); });
    }
    connect(ui->chkPreview, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            limitChanged();
    });
}

CutCellVolumeDialog::~CutCellVolumeDialog()
{
    delete ui;
}

void CutCellVolumeDialog::lowerChanged(int axis, int value)
{
    lowerSliders[axis]->setValue(value);
    if (upperBoxes[axis]->value() <= value)
        upperBoxes[axis]->setValue(value + 1);
    limitChanged();
}

void CutCellVolumeDialog::upperChanged(int axis, int value)
{
    upperSliders[axis]->setValue(value);
    if (lowerBoxes[axis]->value() >= value)
        lowerBoxes[axis]->setValue(value - 1);
    limitChanged();
}

void CutCellVolumeDialog::limitChanged()
{
    if (ui->chkPreview->isChecked())
        previewTimer.start();
}

void CutCellVolumeDialog::getLimits(quint32 lower[3], quint32 upper[3]) const
{
    for (int axis = 0; axis < 3; ++axis) {
        lower[axis] = quint32(lowerBoxes[axis]->value());
        upper[axis] = quint32(upperBoxes[axis]->value());
    }
}

bool CutCellVolumeDialog::isPreviewOn() const
{
    return ui->chkPreview->isChecked();
}

} // namespace Operations
} // namespace Ui
