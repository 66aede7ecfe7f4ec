#ifndef CELVANE_UI_OPERATIONS_EXTRACTFILMDIALOG_H
#define CELVANE_UI_OPERATIONS_EXTRACTFILMDIALOG_H

#include <QDialog>

namespace Ui {
class ExtractFilmForm;
}

namespace Ui {
namespace Operations {

/// The material of the film to lift out of a volume, and whether to turn it upside down.
class ExtractFilmDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ExtractFilmDialog(QWidget *parent = nullptr);
    ~ExtractFilmDialog() override;

    Ui::ExtractFilmForm *form() const { return ui; }

    quint32 getMaterialId() const;
    bool invertFilm() const;

private:
    Ui::ExtractFilmForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
