#ifndef CELVANE_UI_INPUT_GRIDSPACINGDIALOG_H
#define CELVANE_UI_INPUT_GRIDSPACINGDIALOG_H

#include <QDialog>

namespace Ui {
class GridSpacingDialogForm;
}

namespace Ui {
namespace Input {

/// The "Set Grid Spacing" dialog: distance between grid lines in world units; 0 hides them.
class GridSpacingDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GridSpacingDialog(QWidget *parent = nullptr);
    ~GridSpacingDialog() override;

    Ui::GridSpacingDialogForm *form() const { return ui; }

    double getSpacing() const;
    void setSpacing(double value);

private:
    Ui::GridSpacingDialogForm *ui;
};

} // namespace Input
} // namespace Ui

#endif
