#ifndef CELVANE_UI_OPERATIONS_ELECTRODEPOSITIONDIALOG_H
#define CELVANE_UI_OPERATIONS_ELECTRODEPOSITIONDIALOG_H

#include <QDialog>

namespace Ui {
class ElectrodepositionDialogForm;
}

namespace Ui {
namespace Operations {

/// Thickness, plated material and conducting material of an electroplating.
class ElectrodepositionDialog : public QDialog
{
    Q_OBJECT

public:
    /// Both material lists offer every material of the catalogue, in ascending id order.
    explicit ElectrodepositionDialog(QWidget *parent = nullptr);
    ~ElectrodepositionDialog() override;

    Ui::ElectrodepositionDialogForm *form() const { return ui; }

    double getThickness() const;
    /// The plated material.
    quint32 getMaterialId() const;
    quint32 getConductingMaterialId() const;

private:
    Ui::ElectrodepositionDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
