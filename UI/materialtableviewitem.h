#ifndef CELVANE_UI_MATERIALTABLEVIEWITEM_H
#define CELVANE_UI_MATERIALTABLEVIEWITEM_H

#include "Model/Materials/material.h"

#include <QAbstractTableModel>
#include <QList>

namespace Ui {

/// The material catalogue as an editable table: one row per material, columns id, name and
/// colour. It works on a copy; the presenter writes it back when the dialog is accepted.
class MaterialTableViewItem : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        IdColumn = 0,
        NameColumn = 1,
        ColorColumn = 2,
        DensityColumn = 3,
        YoungModulusColumn = 4,
        PoissonRatioColumn = 5
    };

    /// Copies the catalogue's materials, in ascending id order.
    explicit MaterialTableViewItem(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    /// Id, name and colour are shown; the mechanical constants answer data() but are not
    /// shown.
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    /// Appends count new materials at the end, whatever row says, each with the smallest
    /// free id from 3 up. Ids the table started with stay taken even after their rows are
    /// removed: removing a row does not remove the material from the catalogue, so reusing
    /// its id would overwrite it there.
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    /// Refuses to remove every material; otherwise removes count rows from row.
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    QList<Model::Materials::Material> getMaterials() const { return materials; }

private:
    quint32 freeId() const;

    QList<Model::Materials::Material> materials;
    QList<quint32> initialIds;
};

} // namespace Ui

#endif
