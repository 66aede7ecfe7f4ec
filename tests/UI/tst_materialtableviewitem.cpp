#include "Model/Materials/materialfactory.h"
#include "UI/materialtableviewitem.h"
#include "testmain.h"

#include <QColor>
#include <QSignalSpy>

using Model::Materials::Material;

namespace {
/// The model with a way to the columns it answers for but does not show.
class MaterialTableViewItem : public Ui::MaterialTableViewItem
{
public:
    QModelIndex cell(int row, int column) const { return createIndex(row, column); }
};
} // namespace

/// The table model of "Manage Materials" over the built-in catalogue (ids 1 and 3 to 16).
class TestMaterialTableViewItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void displayData_data();
    void displayData();
    void otherRolesAndRowsAreEmpty();
    void headers_data();
    void headers();
    void onlyNameAndColourAreEditable();
    void nameEdit();
    void emptyNameRefused();
    void colourEditKeepsAlpha();
    void mechanicalConstants();
    void addMaterialTakesTheSmallestFreeId();
    void removeRows();
};

void TestMaterialTableViewItem::displayData_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("Si id") << 0 << 0 << QVariant(1u);
    QTest::newRow("Si name") << 0 << 1 << QVariant(QStringLiteral("Si"));
    // 0.5 * 255 = 127.5, truncated.
    QTest::newRow("Si colour") << 0 << 2 << QVariant(QColor(127, 127, 127, 255));
    QTest::newRow("Si density") << 0 << 3 << QVariant(2329.0f);
    QTest::newRow("Si Young") << 0 << 4 << QVariant(1.88e11f);
    QTest::newRow("Si Poisson") << 0 << 5 << QVariant(0.28f);
    QTest::newRow("oxide id") << 1 << 0 << QVariant(3u);
    QTest::newRow("oxide name") << 1 << 1 << QVariant(QStringLiteral("Thermal Si02"));
    // (1, 0.8, 0.3): 204 and 76.5 truncated to 76.
    QTest::newRow("Cu colour") << 3 << 2 << QVariant(QColor(255, 204, 76, 255));
    QTest::newRow("column 6") << 0 << 6 << QVariant();
}

void TestMaterialTableViewItem::displayData()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QVariant, value);
    MaterialTableViewItem model;
    QCOMPARE(model.data(model.cell(row, column)), value);
}

void TestMaterialTableViewItem::otherRolesAndRowsAreEmpty()
{
    MaterialTableViewItem model;
    QCOMPARE(model.columnCount(), 3); // density and the constants are not shown
    QVERIFY(!model.data(model.index(0, 1), Qt::DecorationRole).isValid());
    QVERIFY(!model.data(model.index(0, 1), Qt::ToolTipRole).isValid());
    QVERIFY(!model.data(model.index(15, 1)).isValid());
    QVERIFY(!model.data(QModelIndex()).isValid());
}

void TestMaterialTableViewItem::headers_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << int(Qt::Horizontal) << 0 << "Material Id";
    QTest::newRow("1") << int(Qt::Horizontal) << 1 << "Material Name";
    QTest::newRow("2") << int(Qt::Horizontal) << 2 << "Color";
    QTest::newRow("3") << int(Qt::Horizontal) << 3 << "Density";
    QTest::newRow("4") << int(Qt::Horizontal) << 4 << "Young Modulus";
    QTest::newRow("5") << int(Qt::Horizontal) << 5 << "Poisson Ratio";
    QTest::newRow("6") << int(Qt::Horizontal) << 6 << "Column 6";
    QTest::newRow("row 0") << int(Qt::Vertical) << 0 << "1";
    QTest::newRow("row 14") << int(Qt::Vertical) << 14 << "15";
}

void TestMaterialTableViewItem::headers()
{
    QFETCH(int, orientation);
    QFETCH(int, section);
    QFETCH(QString, text);
    MaterialTableViewItem model;
    QCOMPARE(model.headerData(section, Qt::Orientation(orientation)).toString(), text);
    QVERIFY(!model.headerData(section, Qt::Orientation(orientation), Qt::ToolTipRole).isValid());
}

void TestMaterialTableViewItem::onlyNameAndColourAreEditable()
{
    MaterialTableViewItem model;
    QVERIFY(!model.setData(model.index(0, 0), 99u));
    QCOMPARE(model.getMaterials().first().getId(), 1u);
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(!(model.flags(model.index(14, 0)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    QVERIFY(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
    QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsSelectable);
}

void TestMaterialTableViewItem::nameEdit()
{
    MaterialTableViewItem model;
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setData(model.index(2, 1), QStringLiteral("Aluminium")));
    QCOMPARE(model.getMaterials()[2].getName(), QStringLiteral("Aluminium"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toModelIndex(), model.index(2, 1));
    // Only the edit role edits.
    QVERIFY(!model.setData(model.index(2, 1), QStringLiteral("X"), Qt::DisplayRole));
    QCOMPARE(model.getMaterials()[2].getName(), QStringLiteral("Aluminium"));
    // An editor starts from the name shown.
    QCOMPARE(model.data(model.index(2, 1), Qt::EditRole).toString(), QStringLiteral("Aluminium"));
}

void TestMaterialTableViewItem::emptyNameRefused()
{
    // A material without a name is skipped when a document is read back: refusing it here
    // keeps documents loadable.
    MaterialTableViewItem model;
    QVERIFY(!model.setData(model.index(0, 1), QStringLiteral("   ")));
    QCOMPARE(model.getMaterials()[0].getName(), QStringLiteral("Si"));
}

void TestMaterialTableViewItem::colourEditKeepsAlpha()
{
    MaterialTableViewItem model;
    QVERIFY(model.setData(model.index(0, 2), QColor(255, 0, 51, 128)));
    float c[4];
    model.getMaterials()[0].getColor(c);
    QCOMPARE(c[0], 1.0f);
    QCOMPARE(c[1], 0.0f);
    QCOMPARE(c[2], 51.0f / 255.0f);
    QCOMPARE(c[3], 128.0f / 255.0f);
    // A colour given as text is converted.
    QVERIFY(model.setData(model.index(1, 2), QStringLiteral("#ff00ff00")));
    model.getMaterials()[1].getColor(c);
    QCOMPARE(c[1], 1.0f);
    QCOMPARE(c[3], 1.0f);
    QVERIFY(!model.setData(model.index(1, 2), QStringLiteral("no colour")));
}

void TestMaterialTableViewItem::mechanicalConstants()
{
    MaterialTableViewItem model;
    QVERIFY(model.setData(model.cell(0, 3), 2330.5));
    QVERIFY(model.setData(model.cell(0, 4), QStringLiteral("1.5e11")));
    QVERIFY(model.setData(model.cell(0, 5), 0.3));
    const Material si = model.getMaterials()[0];
    QCOMPARE(si.getDensity(), 2330.5f);
    QCOMPARE(si.getYoungModulus(), 1.5e11f);
    QCOMPARE(si.getPoissonRatio(), 0.3f);
}

void TestMaterialTableViewItem::addMaterialTakesTheSmallestFreeId()
{
    MaterialTableViewItem model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QVERIFY(model.insertRows(0, 1)); // appended whatever the row
    QCOMPARE(model.rowCount(), 16);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted[0][1].toInt(), 15);
    const Material added = model.getMaterials().last();
    QCOMPARE(added.getId(), 17u); // 2 is never chosen
    QCOMPARE(added.getName(), QStringLiteral("New Material"));
    QCOMPARE(added.getDensity(), 1.0f);
    QCOMPARE(added.getYoungModulus(), 1.0f);
    QCOMPARE(added.getPoissonRatio(), 1.0f);
    QCOMPARE(added.getColor()[0], 0.5f);
    QCOMPARE(added.getColor()[3], 1.0f);
    QVERIFY(model.insertRows(5, 2));
    QCOMPARE(model.getMaterials()[16].getId(), 18u);
    QCOMPARE(model.getMaterials()[17].getId(), 19u);
}

void TestMaterialTableViewItem::removeRows()
{
    MaterialTableViewItem model;
    QVERIFY(!model.removeRows(0, 15)); // not all of them
    QVERIFY(!model.removeRows(14, 2)); // past the end
    QVERIFY(!model.removeRows(-1, 1));
    QVERIFY(model.removeRows(1, 2));
    QCOMPARE(model.rowCount(), 13);
    QCOMPARE(model.getMaterials()[1].getId(), 5u);
    QVERIFY(model.removeRows(0, 12));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.getMaterials()[0].getId(), 16u);
    // The ids of removed rows are not given again.
    QVERIFY(model.insertRows(0, 1));
    QCOMPARE(model.getMaterials().last().getId(), 17u);
}

CELVANE_GUI_TEST_MAIN(TestMaterialTableViewItem)
#include "tst_materialtableviewitem.moc"
