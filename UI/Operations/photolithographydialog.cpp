#include "UI/Operations/photolithographydialog.h"

#include "Core/Operations/Photolithography/maskimage.h"
#include "Core/Operations/Photolithography/photolithography.h"
#include "Core/Operations/ifiledialogs.h"
#include "UI/Operations/materialcombo.h"
#include "ui_photolithographydialog.h"

#include <QDir>
#include <QMessageBox>

namespace Ui {
namespace Operations {

namespace {
QString &maskPath()
{
    static QString path = QDir::homePath();
    return path;
}
} // namespace

PhotolithographyDialog::PhotolithographyDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::PhotolithographyDialogForm()), topWidth(0), topHeight(0),
      bottomWidth(0), bottomHeight(0), footprint(0)
{
    ui->setupUi(this);
    MaterialCombo::fillWithCatalogue(ui->cbxFilm);
}

PhotolithographyDialog::~PhotolithographyDialog()
{
    delete ui;
}

QString PhotolithographyDialog::rememberedPath()
{
    return maskPath();
}

quint32 PhotolithographyDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxFilm);
}

void PhotolithographyDialog::imageToMask(const QImage &image, std::vector<bool> &bits,
                                         quint32 &width, quint32 &height)
{
    Core::Operations::MaskImage::toMask(image, bits, width, height);
}

bool PhotolithographyDialog::loadMask(const QString &fileName, const char *notFound,
                                      std::vector<bool> &bits, quint32 &width, quint32 &height)
{
    using Core::Operations::MaskImage;
    QString reason;
    std::vector<bool> loaded;
    quint32 w = 0, h = 0;
    const MaskImage::Result result =
        MaskImage::load(fileName, MaskImage::pixelLimit(footprint), loaded, w, h, &reason);
    if (result == MaskImage::NotFound) {
        QMessageBox::warning(this, QStringLiteral("Photolithography"),
                             QString::fromLatin1(notFound));
        return false;
    }
    if (result == MaskImage::Refused) {
        QMessageBox::warning(
            this, QStringLiteral("Photolithography"),
            QStringLiteral("The mask \"%1\" cannot be used: %2.").arg(fileName, reason));
        return false;
    }
    bits.swap(loaded);
    width = w;
    height = h;
    return true;
}

QString PhotolithographyDialog::chooseMaskFile()
{
    const boost::shared_ptr<Core::Operations::IFileDialogs> dialogs =
        Core::Operations::IFileDialogs::instance();
    const QString file =
        dialogs ? dialogs->getOpenFileName(QStringLiteral("Choose Mask File"), maskPath(),
                                           QStringLiteral("Image Files (*.png *.jpg *.bmp)"))
                : QString();
    if (!file.isEmpty())
        maskPath() = file;
    return file;
}

void PhotolithographyDialog::on_tbtTopMask_clicked()
{
    const QString file = chooseMaskFile();
    if (!file.isEmpty())
        ui->lieTopMask->setText(file);
}

void PhotolithographyDialog::on_tbtBottomMask_clicked()
{
    const QString file = chooseMaskFile();
    if (!file.isEmpty())
        ui->lieBottomMask->setText(file);
}

void PhotolithographyDialog::on_btnApplyTopMask_clicked()
{
    applyTopMask();
}

void PhotolithographyDialog::on_btnApplyBottomMask_clicked()
{
    applyBottomMask();
}

bool PhotolithographyDialog::applyTopMask()
{
    topFileName = ui->lieTopMask->text();
    topSettled = topFileName;
    if (!loadMask(topFileName,
                  "Top Mask file not found!<br/>Please verify the filename is correct and you "
                  "have the correct permissions.",
                  topBits, topWidth, topHeight))
        return false;
    if (topSink)
        topSink(topBits, topWidth, topHeight);
    return true;
}

bool PhotolithographyDialog::applyBottomMask()
{
    bottomFileName = ui->lieBottomMask->text();
    bottomSettled = bottomFileName;
    if (!loadMask(bottomFileName,
                  "Bottom mask not found error!<br/>Please verify if the filename is correct and "
                  "you have the correct permissions.",
                  bottomBits, bottomWidth, bottomHeight))
        return false;
    if (bottomSink)
        bottomSink(bottomBits, bottomWidth, bottomHeight);
    return true;
}

void PhotolithographyDialog::accept()
{
    // A file chosen but not applied is what the user means to expose with: developing the
    // whole film instead cannot be taken back. A file that cannot be read keeps the dialog open.
    const QString top = ui->lieTopMask->text();
    if (!top.isEmpty() && top != topSettled && !applyTopMask())
        return;
    const QString bottom = ui->lieBottomMask->text();
    if (!bottom.isEmpty() && bottom != bottomSettled && !applyBottomMask())
        return;
    const bool noMask =
        (topBits.empty() || topHeight == 0) && (bottomBits.empty() || bottomHeight == 0);
    // Without a mask a negative resist stays whole; only a positive one is developed away.
    if (noMask && getMaterialId() != Core::Operations::Photolithography::negativeResist &&
        QMessageBox::question(this, QStringLiteral("Photolithography"),
                              QStringLiteral("No mask: the whole resist will be developed. "
                                             "Continue?"),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes)
        return;
    QDialog::accept();
}

void PhotolithographyDialog::on_btnRemoveTopMask_clicked()
{
    topSettled = ui->lieTopMask->text();
    topBits.clear();
    topHeight = 0;
    if (topSink)
        topSink(topBits, 0, 0);
}

void PhotolithographyDialog::on_btnRemoveBottomMask_clicked()
{
    bottomSettled = ui->lieBottomMask->text();
    bottomBits.clear();
    bottomHeight = 0;
    if (bottomSink)
        bottomSink(bottomBits, 0, 0);
}

} // namespace Operations
} // namespace Ui
