#ifndef CELVANE_UI_OPERATIONS_MOOREOPTIONSDIALOG_H
#define CELVANE_UI_OPERATIONS_MOOREOPTIONSDIALOG_H

#include <QDialog>

namespace Core {
namespace Operations {
class MooreNeighborhoodOperation;
}
} // namespace Core

namespace Ui {
class MooreOptionsDialogForm;
}

namespace Ui {
namespace Operations {

/// Steps and material of a Moore-neighbourhood deposition or etch.
class MooreOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MooreOptionsDialog(QWidget *parent = nullptr);
    ~MooreOptionsDialog() override;

    Ui::MooreOptionsDialogForm *form() const { return ui; }

    /// "Film Thickness" for deposition, "Etch Depth" for etching.
    void setValueLabel(const QString &text);
    quint32 getSteps() const;
    quint32 getMaterialId() const;

    /// Runs the dialog for a Moore operation: OK hands over material and steps and ends it,
    /// Cancel cancels it. label names the value ("Film Thickness", "Etch Depth").
    static void ask(Core::Operations::MooreNeighborhoodOperation &operation, QWidget *parent,
                    const QString &label);

private:
    Ui::MooreOptionsDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
