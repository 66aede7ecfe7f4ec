#include "UI/Operations/materialcombo.h"

#include "Model/Materials/materialfactory.h"

#include <QColor>
#include <QComboBox>
#include <QIcon>
#include <QPixmap>

namespace Ui {
namespace Operations {

void MaterialCombo::fill(QComboBox *combo, const QList<Model::Materials::Material> &materials)
{
    combo->clear();
    for (const Model::Materials::Material &material : materials) {
        const float *c = material.getColor();
        QPixmap swatch(100, 100);
        swatch.fill(QColor(int(c[0] * 255), int(c[1] * 255), int(c[2] * 255), int(c[3] * 255)));
        combo->addItem(QIcon(swatch), material.getName(), material.getId());
    }
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

} // namespace Operations
} // namespace Ui
