#include "UI/materialtableviewitem.h"

#include "Model/Materials/materialfactory.h"

#include <QColor>

#include <set>

namespace Ui {

using Model::Materials::Material;

namespace {
/// Ids 0 (empty) and 2 are never given to new materials.
const quint32 firstNewId = 3;
} // namespace

MaterialTableViewItem::MaterialTableViewItem(QObject *parent)
    : QAbstractTableModel(parent),
      materials(Model::Materials::MaterialFactory::instance()->getMaterials())
{
    for (const Material &material : materials)
        initialIds.append(material.getId());
}

int MaterialTableViewItem::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : materials.size();
}

int MaterialTableViewItem::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant MaterialTableViewItem::data(const QModelIndex &index, int role) const
{
    // Editors start from the shown value, so the edit role answers as the display role.
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid() || index.row() < 0 ||
        index.row() >= materials.size())
        return QVariant();
    const Material &material = materials.at(index.row());
    switch (index.column()) {
    case IdColumn:
        return material.getId();
    case NameColumn:
        return material.getName();
    case ColorColumn: {
        const float *c = material.getColor();
        return QColor(int(c[0] * 255.0f), int(c[1] * 255.0f), int(c[2] * 255.0f),
                      int(c[3] * 255.0f));
    }
    case DensityColumn:
        return material.getDensity();
    case YoungModulusColumn:
        return material.getYoungModulus();
    case PoissonRatioColumn:
        return material.getPoissonRatio();
    default:
        return QVariant();
    }
}

bool MaterialTableViewItem::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() < 0 ||
        index.row() >= materials.size())
        return false;
    Material &material = materials[index.row()];
    bool ok = true;
    switch (index.column()) {
    case NameColumn: {
        // A nameless material could not be read back from a saved document.
        const QString name = value.toString().trimmed();
        if (name.isEmpty())
            return false;
        material.setName(name);
        break;
    }
    case ColorColumn: {
        const QColor color = value.value<QColor>();
        if (!color.isValid())
            return false;
        material.setColor(color.red() / 255.0f, color.green() / 255.0f, color.blue() / 255.0f,
                          color.alpha() / 255.0f);
        break;
    }
    case DensityColumn:
        material.setDensity(value.toFloat(&ok));
        break;
    case YoungModulusColumn:
        material.setYoungModulus(value.toFloat(&ok));
        break;
    case PoissonRatioColumn:
        material.setPoissonRatio(value.toFloat(&ok));
        break;
    default:
        return false;
    }
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return ok;
}

QVariant MaterialTableViewItem::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return QStringLiteral("%1").arg(section + 1);
    static const char *const titles[] = {"Material Id", "Material Name", "Color",
                                         "Density",     "Young Modulus", "Poisson Ratio"};
    if (section >= 0 && section < int(sizeof(titles) / sizeof(titles[0])))
        return QString::fromLatin1(titles[section]);
    return QStringLiteral("Column %1").arg(section);
}

quint32 MaterialTableViewItem::freeId() const
{
    std::set<quint32> used(initialIds.begin(), initialIds.end());
    for (const Material &material : materials)
        used.insert(material.getId());
    quint32 id = firstNewId;
    while (used.count(id))
        ++id;
    return id;
}

bool MaterialTableViewItem::insertRows(int, int count, const QModelIndex &parent)
{
    if (count < 1 || parent.isValid())
        return false;
    const int first = materials.size();
    beginInsertRows(QModelIndex(), first, first + count - 1);
    for (int i = 0; i < count; ++i)
        materials.append(Material(freeId(), QStringLiteral("New Material"), 1.0f, 1.0f, 1.0f));
    endInsertRows();
    return true;
}

bool MaterialTableViewItem::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || count >= materials.size() || row < 0 ||
        row + count > materials.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    for (int i = 0; i < count; ++i)
        materials.removeAt(row);
    endRemoveRows();
    return true;
}

Qt::ItemFlags MaterialTableViewItem::flags(const QModelIndex &index) const
{
    Qt::ItemFlags base = QAbstractTableModel::flags(index);
    if (index.isValid() && index.row() < materials.size() &&
        (index.column() == NameColumn || index.column() == ColorColumn))
        base |= Qt::ItemIsEditable;
    return base;
}

} // namespace Ui
