#ifndef CELVANE_UI_COLORITEMDELEGATE_H
#define CELVANE_UI_COLORITEMDELEGATE_H

#include <QItemDelegate>

namespace Ui {

/// Edits a colour cell with the colour chooser (alpha included) and shows the colour as a
/// swatch.
class ColorItemDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    explicit ColorItemDelegate(QObject *parent = nullptr);

    /// A colour chooser; choosing commits the colour, cancelling leaves the cell as it was.
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    /// Writes the chooser's current colour to the cell with the edit role.
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    /// The chooser keeps its own size and place instead of squeezing into the cell.
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

} // namespace Ui

#endif
