#ifndef CELVANE_UI_OPERATIONS_MATERIALCOMBO_H
#define CELVANE_UI_OPERATIONS_MATERIALCOMBO_H

#include "Model/Materials/material.h"

#include <QIcon>
#include <QList>

class QComboBox;

namespace Ui {
namespace Operations {

/// The material lists of the options dialogs: a 100 x 100 swatch of the material's colour,
/// its name, and its id as item data.
class MaterialCombo
{
public:
    static void fill(QComboBox *combo, const QList<Model::Materials::Material> &materials);
    /// The material's swatch, made once per colour and shared (GUI thread only).
    static QIcon swatch(const Model::Materials::Material &material);
    /// Every material of the catalogue, in ascending id order.
    static void fillWithCatalogue(QComboBox *combo);
    /// The current entry's id; 0 when there is none.
    static quint32 selectedId(const QComboBox *combo);
    /// Makes the entry of material id current; nothing changes when the list lacks it.
    static void select(QComboBox *combo, quint32 id);
};

} // namespace Operations
} // namespace Ui

#endif
