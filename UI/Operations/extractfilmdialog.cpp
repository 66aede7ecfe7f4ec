#include "UI/Operations/extractfilmdialog.h"

#include "UI/Operations/materialcombo.h"
#include "ui_extractfilmdialog.h"

namespace Ui {
namespace Operations {

ExtractFilmDialog::ExtractFilmDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::ExtractFilmForm())
{
    ui->setupUi(this);
    MaterialCombo::fillWithCatalogue(ui->cbxFilm);
}

ExtractFilmDialog::~ExtractFilmDialog()
{
    delete ui;
}

quint32 ExtractFilmDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxFilm);
}

bool ExtractFilmDialog::invertFilm() const
{
    return ui->chkInvertFilm->isChecked();
}

} // namespace Operations
} // namespace Ui
