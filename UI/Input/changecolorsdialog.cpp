#include "UI/Input/changecolorsdialog.h"

#include "Model/palette.h"
#include "ui_changecolorsdialog.h"

#include <QColorDialog>

namespace Ui {
namespace Input {

namespace {

QString hexComponent(double value)
{
    return QStringLiteral("%1").arg(int(qBound(0.0, value, 1.0) * 255.0), 2, 16, QLatin1Char('0'));
}

const int paletteIndexes[ChangeColorsDialog::EntryCount] = {
    Model::BackgroundColor, Model::GridColor, Model::ObjectColor, Model::OutlineColor};

} // namespace

ChangeColorsDialog::ChangeColorsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::ChangeColorsDialogForm()), scheme(Model::getColorScheme()),
      customized(false)
{
    ui->setupUi(this);
    for (int entry = 0; entry < EntryCount; ++entry) {
        colors[entry] = Model::getColor(paletteIndexes[entry], scheme);
        connect(button(entry), &QPushButton::clicked, this, [this, entry]() { pickColor(entry); });
    }
    // Showing the custom scheme counts as a custom result: accepting keeps it.
    customized = scheme == Model::CustomScheme;
    connect(ui->btnLoadDefaultColors, &QPushButton::clicked, this,
            &ChangeColorsDialog::loadDefaultColors);
    connect(ui->btnLoadLowColorScheme, &QPushButton::clicked, this,
            &ChangeColorsDialog::loadLowColorScheme);
    showColors();
}

ChangeColorsDialog::~ChangeColorsDialog()
{
    delete ui;
}

int ChangeColorsDialog::paletteIndex(int entry)
{
    return entry >= 0 && entry < EntryCount ? paletteIndexes[entry] : -1;
}

QPushButton *ChangeColorsDialog::button(int entry) const
{
    switch (entry) {
    case Background:
        return ui->btnBackgroundColor;
    case Grid:
        return ui->btnGridColor;
    case Object:
        return ui->btnObjectColor;
    default:
        return ui->btnOutlineColor;
    }
}

Util::Vector4D ChangeColorsDialog::getColor(int entry) const
{
    return entry >= 0 && entry < EntryCount ? colors[entry] : Util::Vector4D();
}

int ChangeColorsDialog::resultScheme() const
{
    return customized ? int(Model::CustomScheme) : scheme;
}

void ChangeColorsDialog::applyToPalette() const
{
    for (int entry = 0; entry < EntryCount; ++entry)
        Model::setCustomColor(paletteIndexes[entry], colors[entry]);
    Model::setColorScheme(resultScheme());
}

QString ChangeColorsDialog::buttonStyle(const Util::Vector4D &color)
{
    return QStringLiteral("background-color : #%1%2%3;\n")
               .arg(hexComponent(color.x), hexComponent(color.y), hexComponent(color.z)) +
           QStringLiteral("border: none;");
}

void ChangeColorsDialog::showColors()
{
    for (int entry = 0; entry < EntryCount; ++entry)
        button(entry)->setStyleSheet(buttonStyle(colors[entry]));
}

void ChangeColorsDialog::loadScheme(int number)
{
    scheme = number;
    customized = false;
    for (int entry = 0; entry < EntryCount; ++entry)
        colors[entry] = Model::getColor(paletteIndexes[entry], scheme);
    showColors();
}

void ChangeColorsDialog::loadDefaultColors()
{
    loadScheme(Model::DefaultScheme);
}

void ChangeColorsDialog::loadLowColorScheme()
{
    loadScheme(Model::LowScheme);
}

void ChangeColorsDialog::setColor(int entry, const QColor &color)
{
    if (entry < 0 || entry >= EntryCount || !color.isValid())
        return;
    // The alpha stays: the chooser offers none, and the background is drawn opaque anyway.
    colors[entry] = Util::Vector4D(color.redF(), color.greenF(), color.blueF(), colors[entry].w);
    customized = true;
    showColors();
}

void ChangeColorsDialog::pickColor(int entry)
{
    if (entry < 0 || entry >= EntryCount)
        return;
    const Util::Vector4D &c = colors[entry];
    QColorDialog chooser(
        QColor::fromRgbF(qBound(0.0, c.x, 1.0), qBound(0.0, c.y, 1.0), qBound(0.0, c.z, 1.0)),
        this);
    chooser.setWindowTitle(QStringLiteral("Select new color"));
    if (chooser.exec() == QDialog::Accepted)
        setColor(entry, chooser.currentColor());
}

} // namespace Input
} // namespace Ui
