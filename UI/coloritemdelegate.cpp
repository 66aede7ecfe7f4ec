#include "UI/coloritemdelegate.h"

#include <QColorDialog>
#include <QPainter>

namespace Ui {

ColorItemDelegate::ColorItemDelegate(QObject *parent) : QItemDelegate(parent) {}

QWidget *ColorItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                         const QModelIndex &) const
{
    QColorDialog *chooser = new QColorDialog(parent);
    chooser->setOption(QColorDialog::ShowAlphaChannel);
    chooser->setModal(true);
    ColorItemDelegate *self = const_cast<ColorItemDelegate *>(this);
    connect(chooser, &QDialog::accepted, self, [self, chooser]() {
        Q_EMIT self->commitData(chooser);
        Q_EMIT self->closeEditor(chooser, QAbstractItemDelegate::NoHint);
    });
    connect(chooser, &QDialog::rejected, self, [self, chooser]() {
        Q_EMIT self->closeEditor(chooser, QAbstractItemDelegate::RevertModelCache);
    });
    return chooser;
}

void ColorItemDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    QColorDialog *chooser = qobject_cast<QColorDialog *>(editor);
    if (!chooser) {
        QItemDelegate::setEditorData(editor, index);
        return;
    }
    const QColor color = index.data(Qt::DisplayRole).value<QColor>();
    if (color.isValid())
        chooser->setCurrentColor(color);
}

void ColorItemDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                     const QModelIndex &index) const
{
    QColorDialog *chooser = qobject_cast<QColorDialog *>(editor);
    if (!chooser) {
        QItemDelegate::setModelData(editor, model, index);
        return;
    }
    model->setData(index, chooser->currentColor(), Qt::EditRole);
}

void ColorItemDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const
{
    if (!qobject_cast<QColorDialog *>(editor))
        QItemDelegate::updateEditorGeometry(editor, option, index);
}

void ColorItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    const QVariant value = index.data(Qt::DisplayRole);
    if (value.userType() != QMetaType::QColor) {
        QItemDelegate::paint(painter, option, index);
        return;
    }
    drawBackground(painter, option, index);
    const QColor color = value.value<QColor>();
    const QRect swatch = option.rect.adjusted(3, 3, -3, -3);
    painter->save();
    // A checker pattern behind the colour makes its transparency visible.
    painter->fillRect(swatch, QBrush(Qt::lightGray, Qt::Dense4Pattern));
    painter->fillRect(swatch, color);
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    painter->restore();
    drawFocus(painter, option, option.rect);
}

} // namespace Ui
