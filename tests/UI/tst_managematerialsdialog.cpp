#include "Model/Materials/materialfactory.h"
#include "UI/coloritemdelegate.h"
#include "UI/managematerialsdialog.h"
#include "UI/materialtableviewitem.h"
#include "guitestutil.h"
#include "testmain.h"
#include "ui_managematerialsdialog.h"

#include <QColorDialog>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>

using Ui::ColorItemDelegate;
using Ui::ManageMaterialsDialog;

/// "Manage Materials" and its colour editor.
class TestManageMaterialsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout();
    void addMaterialGivesNewIds();
    void delegateEditsWithTheColourChooser();
    void delegateCommitsOnAcceptOnly();
    void editingTheColourCellInTheTable();
};

void TestManageMaterialsDialog::layout()
{
    ManageMaterialsDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Manage Materials"));
    QTableView *table = dialog.form()->tvwMaterials;
    QCOMPARE(table->model(), static_cast<QAbstractItemModel *>(dialog.model()));
    QVERIFY(qobject_cast<ColorItemDelegate *>(table->itemDelegateForColumn(2)));
    QVERIFY(!qobject_cast<ColorItemDelegate *>(table->itemDelegateForColumn(1)));
    QCOMPARE(dialog.getMaterials().size(), 15);
}

void TestManageMaterialsDialog::addMaterialGivesNewIds()
{
    ManageMaterialsDialog dialog;
    dialog.form()->btnAddMaterial->click();
    dialog.form()->btnAddMaterial->click();
    const QList<Model::Materials::Material> materials = dialog.getMaterials();
    QCOMPARE(materials.size(), 17);
    QCOMPARE(materials[15].getId(), 17u);
    QCOMPARE(materials[16].getId(), 18u);
    QCOMPARE(dialog.form()->tvwMaterials->model()->rowCount(), 17);
}

void TestManageMaterialsDialog::delegateEditsWithTheColourChooser()
{
    Ui::MaterialTableViewItem model;
    ColorItemDelegate delegate;
    QWidget parent;
    const QModelIndex cell = model.index(0, 2);
    QWidget *editor = delegate.createEditor(&parent, QStyleOptionViewItem(), cell);
    QColorDialog *chooser = qobject_cast<QColorDialog *>(editor);
    QVERIFY(chooser);
    QVERIFY(chooser->testOption(QColorDialog::ShowAlphaChannel));
    delegate.setEditorData(editor, cell);
    QCOMPARE(chooser->currentColor().rgba(), qRgba(127, 127, 127, 255));
    chooser->setCurrentColor(QColor(10, 20, 30, 128));
    delegate.setModelData(editor, &model, cell);
    float c[4];
    model.getMaterials()[0].getColor(c);
    QCOMPARE(c[0], 10.0f / 255.0f);
    QCOMPARE(c[3], 128.0f / 255.0f);
    delete editor;
}

void TestManageMaterialsDialog::delegateCommitsOnAcceptOnly()
{
    Ui::MaterialTableViewItem model;
    ColorItemDelegate delegate;
    QWidget parent;
    QSignalSpy commits(&delegate, &QAbstractItemDelegate::commitData);
    QSignalSpy closes(&delegate, &QAbstractItemDelegate::closeEditor);
    QColorDialog *chooser = qobject_cast<QColorDialog *>(
        delegate.createEditor(&parent, QStyleOptionViewItem(), model.index(0, 2)));
    QVERIFY(chooser);
    chooser->reject();
    QCOMPARE(commits.size(), 0);
    QCOMPARE(closes.size(), 1);
    chooser->accept();
    QCOMPARE(commits.size(), 1);
    QCOMPARE(closes.size(), 2);
    delete chooser;
}

void TestManageMaterialsDialog::editingTheColourCellInTheTable()
{
    ManageMaterialsDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableView *table = dialog.form()->tvwMaterials;
    whenModal([](QWidget *w) {
        QColorDialog *chooser = qobject_cast<QColorDialog *>(w);
        if (!chooser)
            return;
        chooser->setCurrentColor(QColor(0, 0, 255, 128));
        chooser->accept();
    });
    table->edit(dialog.model()->index(0, 2));
    QTRY_COMPARE(dialog.getMaterials()[0].getColor()[2], 1.0f);
    QCOMPARE(dialog.getMaterials()[0].getColor()[3], 128.0f / 255.0f);
    QCOMPARE(dialog.getMaterials()[0].getColor()[0], 0.0f);
    // The catalogue waits for the presenter.
    QCOMPARE(Model::Materials::MaterialFactory::instance()->getMaterial(1).getColor()[2], 0.5f);
}

CELVANE_GUI_TEST_MAIN(TestManageMaterialsDialog)
#include "tst_managematerialsdialog.moc"
