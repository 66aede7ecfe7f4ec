#ifndef CELVANE_UI_OPERATIONS_PLANARIZATIONOPTIONSDIALOG_H
#define CELVANE_UI_OPERATIONS_PLANARIZATIONOPTIONSDIALOG_H

#include <QDialog>

namespace Ui {
class PlanarizationOptionsDialogForm;
}

namespace Ui {
namespace Operations {

/// The slab that planarization keeps: every cell below the minimum and above the maximum
/// height goes.
class PlanarizationOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PlanarizationOptionsDialog(QWidget *parent = nullptr);
    ~PlanarizationOptionsDialog() override;

    Ui::PlanarizationOptionsDialogForm *form() const { return ui; }
    /// The height of the volume: the maximum box's limit and value, the minimum box's limit.
    void setHeightLimit(int cellsZ);
    quint32 getMinimumHeight() const;
    quint32 getMaximumHeight() const;

public Q_SLOTS:
    void updateMinimumLimits(int maximumHeight);

private:
    Ui::PlanarizationOptionsDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
