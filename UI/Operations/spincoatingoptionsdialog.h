#ifndef CELVANE_UI_OPERATIONS_SPINCOATINGOPTIONSDIALOG_H
#define CELVANE_UI_OPERATIONS_SPINCOATINGOPTIONSDIALOG_H

#include <QDialog>

namespace Ui {
class SpinCoatingOptionsDialogForm;
}

namespace Ui {
namespace Operations {

/// Material and height of the pour.
class SpinCoatingOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SpinCoatingOptionsDialog(QWidget *parent = nullptr);
    ~SpinCoatingOptionsDialog() override;

    Ui::SpinCoatingOptionsDialogForm *form() const { return ui; }

    /// The highest layer that can be filled: the height of the volume.
    void setHeightLimit(int cellsZ);
    quint32 getMaterialId() const;
    quint32 getHeight() const;

private:
    Ui::SpinCoatingOptionsDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
