#ifndef CELVANE_UI_CROSSSECTIONDIALOG_H
#define CELVANE_UI_CROSSSECTIONDIALOG_H

#include <QDialog>

namespace Ui {
class CrossSectionDialogForm;
}

namespace Ui {

/// The "Save Cross Section" dialog: the plane (axis and cell layer) and the pixels per cell.
/// The layer stays within the volume's cells along the chosen axis.
class CrossSectionDialog : public QDialog
{
    Q_OBJECT

public:
    /// cells: the volume's cells along x, y and z.
    CrossSectionDialog(const quint32 cells[3], QWidget *parent = nullptr);
    ~CrossSectionDialog() override;

    Ui::CrossSectionDialogForm *form() const { return ui; }

    int getAxis() const;
    quint32 getIndex() const;
    int getCellPixels() const;

private:
    void axisChanged(int axis);

    Ui::CrossSectionDialogForm *ui;
    quint32 cells[3];
};

} // namespace Ui

#endif
