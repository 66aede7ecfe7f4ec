#ifndef CELVANE_UI_INPUT_TRANSLATEVIEWDIALOG_H
#define CELVANE_UI_INPUT_TRANSLATEVIEWDIALOG_H

#include <QDialog>

namespace Ui {
class TranslateViewDialogForm;
}

namespace Ui {
namespace Input {

/// The "Translate View" dialog: a pan of the view in world units.
class TranslateViewDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TranslateViewDialog(QWidget *parent = nullptr);
    ~TranslateViewDialog() override;

    Ui::TranslateViewDialogForm *form() const { return ui; }

    double getDistanceX() const;
    void setDistanceX(double value);
    double getDistanceY() const;
    void setDistanceY(double value);
    double getDistanceZ() const;
    void setDistanceZ(double value);

private:
    Ui::TranslateViewDialogForm *ui;
};

} // namespace Input
} // namespace Ui

#endif
