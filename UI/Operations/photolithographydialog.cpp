#include "UI/Operations/photolithographydialog.h"

#include "Core/Operations/Photolithography/maskimage.h"
#include "Core/Operations/Photolithography/photolithography.h"
#include "Core/Operations/ifiledialogs.h"
#include "UI/Operations/materialcombo.h"
#include "ui_photolithographydialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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
    : QDialog(parent), ui(new Ui::PhotolithographyDialogForm()), footprint(0), gridX(0), gridY(0)
{
    ui->setupUi(this);
    MaterialCombo::fillWithCatalogue(ui->cbxFilm);
    Side &top = sides[Top];
    top.file = ui->lieTopMask;
    top.layoutFields = ui->frmTopMaskLayout;
    top.cell = ui->cbxTopMaskCell;
    top.layer = ui->cbxTopMaskLayer;
    top.scale = ui->dbxTopMaskScale;
    top.offsetX = ui->dbxTopMaskOffsetX;
    top.offsetY = ui->dbxTopMaskOffsetY;
    top.notFound = "Top Mask file not found!<br/>Please verify the filename is correct and you "
                   "have the correct permissions.";
    Side &bottom = sides[Bottom];
    bottom.file = ui->lieBottomMask;
    bottom.layoutFields = ui->frmBottomMaskLayout;
    bottom.cell = ui->cbxBottomMaskCell;
    bottom.layer = ui->cbxBottomMaskLayer;
    bottom.scale = ui->dbxBottomMaskScale;
    bottom.offsetX = ui->dbxBottomMaskOffsetX;
    bottom.offsetY = ui->dbxBottomMaskOffsetY;
    bottom.notFound = "Bottom mask not found error!<br/>Please verify if the filename is correct "
                      "and you have the correct permissions.";
    for (Side *side : {&top, &bottom}) {
        showLayoutFields(*side);
        connect(side->file, &QLineEdit::textChanged, this,
                [this, side] { showLayoutFields(*side); });
    }
}

PhotolithographyDialog::~PhotolithographyDialog()
{
    delete ui;
}

void PhotolithographyDialog::setVolumeGrid(quint32 cellsX, quint32 cellsY)
{
    gridX = cellsX;
    gridY = cellsY;
    footprint = quint64(cellsX) * cellsY;
}

QString PhotolithographyDialog::rememberedPath()
{
    return maskPath();
}

bool PhotolithographyDialog::isLayoutFile(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return suffix == QLatin1String("gds") || suffix == QLatin1String("gdsii");
}

quint32 PhotolithographyDialog::getMaterialId() const
{
    return MaterialCombo::selectedId(ui->cbxFilm);
}

void PhotolithographyDialog::setMaterialId(quint32 id)
{
    MaterialCombo::select(ui->cbxFilm, id);
}

void PhotolithographyDialog::imageToMask(const QImage &image, std::vector<bool> &bits,
                                         quint32 &width, quint32 &height)
{
    Core::Operations::MaskImage::toMask(image, bits, width, height);
}

void PhotolithographyDialog::refuse(const QString &fileName, const QString &reason)
{
    QMessageBox::warning(
        this, QStringLiteral("Photolithography"),
        QStringLiteral("The mask \"%1\" cannot be used: %2.").arg(fileName, reason));
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
        refuse(fileName, reason);
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
                                           QStringLiteral("Image Files (*.png *.jpg *.bmp);;"
                                                          "GDSII Layouts (*.gds *.gdsii)"))
                : QString();
    if (!file.isEmpty())
        maskPath() = file;
    return file;
}

void PhotolithographyDialog::chooseFor(Side &side)
{
    const QString file = chooseMaskFile();
    if (file.isEmpty())
        return;
    side.file->setText(file);
    // The cells and layers to choose from come from the file.
    if (isLayoutFile(file))
        readLayout(side, file);
}

void PhotolithographyDialog::on_tbtTopMask_clicked()
{
    chooseFor(sides[Top]);
}

void PhotolithographyDialog::on_tbtBottomMask_clicked()
{
    chooseFor(sides[Bottom]);
}

void PhotolithographyDialog::showLayoutFields(Side &side)
{
    side.layoutFields->setEnabled(isLayoutFile(side.file->text()));
}

bool PhotolithographyDialog::readLayout(Side &side, const QString &fileName, bool again)
{
    using Core::Operations::LayoutFile;
    if (!again && side.readFile == fileName)
        return true;
    Core::Operations::LayoutMask::Layout layout;
    QString reason;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LayoutFile::Result result = LayoutFile::read(fileName, layout, &reason);
    QApplication::restoreOverrideCursor();
    if (result == LayoutFile::NotFound) {
        QMessageBox::warning(this, QStringLiteral("Photolithography"),
                             QString::fromLatin1(side.notFound));
        return false;
    }
    if (result != LayoutFile::Loaded) {
        refuse(fileName, reason);
        return false;
    }
    // A file read again (it may have been edited since) keeps the cell and layer chosen.
    const QString cell = side.readFile == fileName ? side.cell->currentText() : QString();
    const QVariant layer = side.readFile == fileName ? side.layer->currentData() : QVariant();
    side.read = std::move(layout);
    side.readFile = fileName;
    side.cell->clear();
    for (const Core::Operations::LayoutMask::Cell &c : side.read.cells)
        side.cell->addItem(c.name);
    const int chosen = side.cell->findText(cell);
    side.cell->setCurrentIndex(chosen >= 0 ? chosen
                                           : Core::Operations::LayoutMask::topCell(side.read));
    side.layer->clear();
    for (const qint32 l : LayoutFile::layers(side.read))
        side.layer->addItem(QString::number(l), l);
    if (layer.isValid() && side.layer->findData(layer) >= 0)
        side.layer->setCurrentIndex(side.layer->findData(layer));
    return true;
}

QString PhotolithographyDialog::fields(const Side &side) const
{
    const QString file = side.file->text();
    if (!isLayoutFile(file))
        return file;
    return QStringList{file,
                       side.cell->currentText(),
                       side.layer->currentText(),
                       QString::number(side.scale->value(), 'g', 17),
                       QString::number(side.offsetX->value(), 'g', 17),
                       QString::number(side.offsetY->value(), 'g', 17)}
        .join(QLatin1Char('\n'));
}

bool PhotolithographyDialog::applyLayout(Side &side)
{
    using Core::Operations::LayoutFile;
    const QString fileName = side.file->text();
    if (!readLayout(side, fileName, true))
        return false;
    LayoutFile::Choice choice;
    choice.file = fileName;
    choice.cell = side.cell->currentText();
    choice.layer = side.layer->currentData().toInt();
    choice.scale = side.scale->value();
    choice.offsetX = side.offsetX->value();
    choice.offsetY = side.offsetY->value();
    if (side.layer->currentIndex() < 0) {
        refuse(fileName, QStringLiteral("the layout holds no polygon or path on any layer"));
        return false;
    }
    // Without the volume's columns the choice is checked on a single column and kept: the
    // batch step rasterises it onto the volume it runs on.
    const bool onGrid = gridX && gridY;
    std::vector<bool> bits;
    QString reason;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = LayoutFile::rasterise(side.read, choice, onGrid ? gridX : 1,
                                            onGrid ? gridY : 1, bits, &reason);
    QApplication::restoreOverrideCursor();
    if (!done) {
        refuse(fileName, reason);
        return false;
    }
    if (!onGrid)
        bits.clear();
    side.bits.swap(bits);
    side.width = onGrid ? gridX : 0;
    side.height = onGrid ? gridY : 0;
    side.hasLayout = true;
    side.layout = choice;
    return true;
}

bool PhotolithographyDialog::apply(Side &side)
{
    side.fileName = side.file->text();
    side.settled = fields(side);
    if (isLayoutFile(side.fileName)) {
        if (!applyLayout(side))
            return false;
    } else {
        if (!loadMask(side.fileName, side.notFound, side.bits, side.width, side.height))
            return false;
        side.hasLayout = false;
    }
    side.settled = fields(side); // reading a layout fills its cell and layer lists
    if (side.sink)
        side.sink(side.bits, side.width, side.height);
    return true;
}

void PhotolithographyDialog::on_btnApplyTopMask_clicked()
{
    apply(sides[Top]);
}

void PhotolithographyDialog::on_btnApplyBottomMask_clicked()
{
    apply(sides[Bottom]);
}

void PhotolithographyDialog::accept()
{
    // A file chosen but not applied is what the user means to expose with: developing the
    // whole film instead cannot be taken back. A file that cannot be read keeps the dialog open.
    for (Side &side : sides)
        if (!side.file->text().isEmpty() && fields(side) != side.settled && !apply(side))
            return;
    auto absent = [](const Side &side) {
        return !side.hasLayout && (side.bits.empty() || side.height == 0);
    };
    const bool noMask = absent(sides[Top]) && absent(sides[Bottom]);
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

void PhotolithographyDialog::remove(Side &side)
{
    side.settled = fields(side);
    side.bits.clear();
    side.height = 0;
    side.hasLayout = false;
    if (side.sink)
        side.sink(side.bits, 0, 0);
}

void PhotolithographyDialog::on_btnRemoveTopMask_clicked()
{
    remove(sides[Top]);
}

void PhotolithographyDialog::on_btnRemoveBottomMask_clicked()
{
    remove(sides[Bottom]);
}

} // namespace Operations
} // namespace Ui
