#include "UI/Operations/changevolumevisualizationdialog.h"

#include "Model/Materials/materialfactory.h"
#include "ui_changevolumevisualizationdialog.h"

#include <QColorDialog>

#include <algorithm>

namespace Ui {
namespace Operations {

namespace {
QString hexComponent(float value)
{
    return QStringLiteral("%1").arg(int(value * 255.0f), 2, 16, QLatin1Char('0'));
}
} // namespace

ChangeVolumeVisualizationDialog::ChangeVolumeVisualizationDialog(const Options &present,
                                                                 QWidget *parent)
    : QDialog(parent), ui(new Ui::ChangeVolumeVisualizationDialogForm())
{
    ui->setupUi(this);
    ui->cbxRenderSiAtoms->setChecked(present.renderSiAtoms);
    ui->cbxRenderSurfaceAtoms->setChecked(present.renderSurfaceAtomsOnly);
    ui->cbxRenderSiLinks->setChecked(present.renderSiAtomLinks);
    ui->cbxRenderSiUnitCell->setChecked(present.renderSiUnitCells);
    ui->cbxRenderSiUnitCellOutline->setChecked(present.renderSiUnitCellOutlines);
    ui->cbxRenderEmptyVoxels->setChecked(present.renderEmptyVoxelOutlines);
    ui->cbxSurfaceAlgorithm->setCurrentIndex(present.surfaceAlgorithm <
                                                     quint32(ui->cbxSurfaceAlgorithm->count())
                                                 ? int(present.surfaceAlgorithm)
                                                 : 0);
    ui->cbxRenderSurfaceAtoms->setEnabled(present.renderSiAtoms);
    connect(ui->cbxRenderSiAtoms, &QCheckBox::toggled, ui->cbxRenderSurfaceAtoms,
            &QWidget::setEnabled);

    // The preview only shows a colour: nothing to scroll or focus in it.
    ui->graphicsView->setFocusPolicy(Qt::NoFocus);
    ui->graphicsView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->graphicsView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    for (const Model::Materials::Material &material :
         Model::Materials::MaterialFactory::instance()->getMaterials()) {
        Color color;
        material.getColor(color.data());
        colors[material.getId()] = color;
        ui->cbxFilm->addItem(material.getName(), material.getId());
    }
    connect(ui->cbxFilm, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ChangeVolumeVisualizationDialog::materialChanged);
    connect(ui->btnChangeColor, &QPushButton::clicked, this,
            &ChangeVolumeVisualizationDialog::changeColor);
    ui->btnChangeColor->setEnabled(ui->cbxFilm->count() > 0);
    materialChanged(ui->cbxFilm->currentIndex());
    // The dialog takes its size before the combo box has measured its entries, which cut the
    // algorithm names off: reserve their width.
    ui->cbxSurfaceAlgorithm->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ui->cbxSurfaceAlgorithm->setMinimumWidth(ui->cbxSurfaceAlgorithm->sizeHint().width());
}

ChangeVolumeVisualizationDialog::~ChangeVolumeVisualizationDialog()
{
    delete ui;
}

ChangeVolumeVisualizationDialog::Options ChangeVolumeVisualizationDialog::getOptions() const
{
    Options o;
    o.renderSiAtoms = ui->cbxRenderSiAtoms->isChecked();
    o.renderSurfaceAtomsOnly = ui->cbxRenderSurfaceAtoms->isChecked();
    o.renderSiAtomLinks = ui->cbxRenderSiLinks->isChecked();
    o.renderSiUnitCells = ui->cbxRenderSiUnitCell->isChecked();
    o.renderSiUnitCellOutlines = ui->cbxRenderSiUnitCellOutline->isChecked();
    o.renderEmptyVoxelOutlines = ui->cbxRenderEmptyVoxels->isChecked();
    o.surfaceAlgorithm = quint32(std::max(0, ui->cbxSurfaceAlgorithm->currentIndex()));
    return o;
}

QString ChangeVolumeVisualizationDialog::previewStyle(const Color &color)
{
    return QStringLiteral("background-color : #%1%2%3")
        .arg(hexComponent(color[0]), hexComponent(color[1]), hexComponent(color[2]));
}

void ChangeVolumeVisualizationDialog::materialChanged(int index)
{
    if (index < 0) {
        ui->graphicsView->setStyleSheet(QString());
        return;
    }
    const auto entry = colors.find(ui->cbxFilm->itemData(index).toUInt());
    if (entry != colors.end())
        ui->graphicsView->setStyleSheet(previewStyle(entry->second));
}

void ChangeVolumeVisualizationDialog::setCurrentColor(const QColor &color)
{
    const int index = ui->cbxFilm->currentIndex();
    if (index < 0 || !color.isValid())
        return;
    const auto entry = colors.find(ui->cbxFilm->itemData(index).toUInt());
    if (entry == colors.end())
        return;
    entry->second = {float(color.redF()), float(color.greenF()), float(color.blueF()),
                     float(color.alphaF())};
    materialChanged(index);
}

void ChangeVolumeVisualizationDialog::changeColor()
{
    const int index = ui->cbxFilm->currentIndex();
    if (index < 0)
        return;
    const auto entry = colors.find(ui->cbxFilm->itemData(index).toUInt());
    if (entry == colors.end())
        return;
    const Color &c = entry->second;
    QColorDialog chooser(QColor::fromRgbF(qBound(0.0f, c[0], 1.0f), qBound(0.0f, c[1], 1.0f),
                                          qBound(0.0f, c[2], 1.0f), qBound(0.0f, c[3], 1.0f)),
                         this);
    chooser.setWindowTitle(QStringLiteral("Select new film color"));
    chooser.setOption(QColorDialog::ShowAlphaChannel);
    if (chooser.exec() == QDialog::Accepted)
        setCurrentColor(chooser.currentColor());
}

} // namespace Operations
} // namespace Ui
