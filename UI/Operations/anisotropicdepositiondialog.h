#ifndef CELVANE_UI_OPERATIONS_ANISOTROPICDEPOSITIONDIALOG_H
#define CELVANE_UI_OPERATIONS_ANISOTROPICDEPOSITIONDIALOG_H

#include "Model/Process/process.h"

#include <QDialog>

namespace Ui {
class AnisotropicDepositionDialogForm;
}

namespace Ui {
namespace Operations {

/// Material, thickness, horizontal-to-vertical ratio and side of a directional (PVD)
/// deposition.
class AnisotropicDepositionDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AnisotropicDepositionDialog(QWidget *parent = nullptr);
    ~AnisotropicDepositionDialog() override;

    Ui::AnisotropicDepositionDialogForm *form() const { return ui; }

    /// Titles the dialog after the process ("PVD Options") and offers its compatible materials.
    void setProcess(const Model::Process::Process &process);
    double getThickness() const;
    quint32 getMaterialId() const;
    double getRatio() const;
    /// 2 when the bottom is chosen, else 3 when both sides are, else 1 (top).
    quint32 getDepositOn() const;

private:
    Ui::AnisotropicDepositionDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
