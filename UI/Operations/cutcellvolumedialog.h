#ifndef CELVANE_UI_OPERATIONS_CUTCELLVOLUMEDIALOG_H
#define CELVANE_UI_OPERATIONS_CUTCELLVOLUMEDIALOG_H

#include <QDialog>
#include <QTimer>

class QSlider;
class QSpinBox;

namespace Ui {
class CutCellVolumeBaseDialog;
}

namespace Ui {
namespace Operations {

/// Lower and upper cut limits of a cell volume on each axis, each a spin box coupled to a
/// slider. A lower limit never reaches its upper one: moving one past the other pushes the
/// other along. While "Preview" is checked, changes ask for a preview; changes that arrive
/// while one is being drawn are gathered into a single later preview of the latest values.
class CutCellVolumeDialog : public QDialog
{
    Q_OBJECT

public:
    /// counts: cells along x, y and z; lower and upper: the present limits.
    CutCellVolumeDialog(const quint32 counts[3], const quint32 lower[3], const quint32 upper[3],
                        QWidget *parent = nullptr);
    ~CutCellVolumeDialog() override;

    Ui::CutCellVolumeBaseDialog *form() const { return ui; }

    void getLimits(quint32 lower[3], quint32 upper[3]) const;
    bool isPreviewOn() const;

Q_SIGNALS:
    /// The limits on show should be applied to the volume now.
    void previewRequested();

private:
    void lowerChanged(int axis, int value);
    void upperChanged(int axis, int value);
    void limitChanged();

    Ui::CutCellVolumeBaseDialog *ui;
    QSpinBox *lowerBoxes[3];
    QSpinBox *upperBoxes[3];
    QSlider *lowerSliders[3];
    QSlider *upperSliders[3];
    /// Fires once the events queued so far are handled: one preview for a burst of changes.
    QTimer previewTimer;
};

} // namespace Operations
} // namespace Ui

#endif
