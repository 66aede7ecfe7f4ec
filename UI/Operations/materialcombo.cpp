#include "UI/Operations/materialcombo.h"

#include "Model/Materials/materialfactory.h"

#include <QColor>
#include <QComboBox>
#include <QHash>
#include <QIcon>
#include <QPixmap>

namespace Ui {
namespace Operations {

QIcon MaterialCombo::swatch(const Model::Materials::Material &material)
{
    // One swatch per colour for the whole run, shared by every list: a long catalogue costs
    // one 100 x 100 pixmap per colour, not one per entry of every dialog.
    static QHash<QRgb, QIcon> swatches;
    const float *c = material.getColor();
    const QColor color(int(c[0] * 255), int(c[1] * 255), int(c[2] * 255), int(c[3] * 255));
    const auto found = swatches.constFind(color.rgba());
    if (found != swatches.constEnd())
        return found.value();
    QPixmap pixmap(100, 100);
    pixmap.fill(color);
    const QIcon icon(pixmap);
    swatches.insert(color.rgba(), icon);
    return icon;
}

void MaterialCombo::fill(QComboBox *combo, const QList<Model::Materials::Material> &materials)
{
    combo->clear();
    for (const Model::Materials::Material &material : materials)
        combo->addItem(swatch(material), material.getName(), material.getId());
}

void MaterialCombo::fillWithCatalogue(QComboBox *combo)
{
    fill(combo, Model::Materials::MaterialFactory::instance()->getMaterials());
}

quint32 MaterialCombo::selectedId(const QComboBox *combo)
{
    bool ok = false;
    const quint32 id = combo->currentData().toUInt(&ok);
    return ok ? id : 0;
}

void MaterialCombo::select(QComboBox *combo, quint32 id)
{
    const int index = combo->findData(id);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

} // namespace Operations
} // namespace Ui
