#ifndef CELVANE_UI_OPERATIONS_BCAETCHINGDIALOG_H
#define CELVANE_UI_OPERATIONS_BCAETCHINGDIALOG_H

#include <QDialog>

namespace Ui {
class BCAEtchingDialogForm;
}

namespace Ui {
namespace Operations {

/// The depth of an atomistic wet etch of silicon.
class BCAEtchingDialog : public QDialog
{
    Q_OBJECT

public:
    explicit BCAEtchingDialog(QWidget *parent = nullptr);
    ~BCAEtchingDialog() override;

    Ui::BCAEtchingDialogForm *form() const { return ui; }

    /// Etch depth in cell units.
    double getDepth() const;

private:
    Ui::BCAEtchingDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
