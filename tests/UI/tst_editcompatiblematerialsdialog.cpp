#include "Model/Process/processfactory.h"
#include "UI/editcompatiblematerialsdialog.h"
#include "UI/mainwindow.h"
#include "guitestutil.h"
#include "testmain.h"
#include "ui_editcompatiblematerialsdialog.h"
#include "ui_mainwindow.h"

#include <QFileInfo>
#include <QListWidget>
#include <QPointer>
#include <QTemporaryDir>

using Model::Process::Process;
using Model::Process::ProcessFactory;
using Ui::EditCompatibleMaterialsDialog;

namespace {

QList<quint32> ids(QListWidget *list)
{
    QList<quint32> result;
    for (int row = 0; row < list->count(); ++row)
        result.append(list->item(row)->data(Qt::UserRole).toUInt());
    return result;
}

void selectIds(QListWidget *list, const QList<quint32> &wanted)
{
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setSelected(wanted.contains(list->item(row)->data(Qt::UserRole).toUInt()));
}

void chooseProcess(EditCompatibleMaterialsDialog &dialog, quint32 id)
{
    dialog.form()->cbxProcess->setCurrentIndex(dialog.form()->cbxProcess->findData(id));
}

Process processIn(const QList<Process> &processes, quint32 id)
{
    for (const Process &p : processes)
        if (p.getId() == id)
            return p;
    return Process();
}

} // namespace

/// "Edit Compatible Materials" over the built-in catalogues.
class TestEditCompatibleMaterialsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void layout();
    void listsFollowTheProcess();
    void insertAppendsInListOrder();
    void removeDropsEveryOccurrence();
    void unknownIdsStayButAreNotShown();
    void rejectedFromTheMenuChangesNothing();

private:
    QList<Process> saved;
};

void TestEditCompatibleMaterialsDialog::init()
{
    saved = ProcessFactory::instance()->getProcesses();
}

void TestEditCompatibleMaterialsDialog::cleanup()
{
    for (const Process &p : saved)
        ProcessFactory::instance()->setProcess(p);
}

void TestEditCompatibleMaterialsDialog::layout()
{
    EditCompatibleMaterialsDialog dialog;
    Ui::EditCompatibleMaterialsDialogForm *ui = dialog.form();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Compatible Materials"));
    QCOMPARE(ui->cbxProcess->count(), 14);
    QCOMPARE(ui->cbxProcess->itemText(2), QStringLiteral("CVD"));
    QCOMPARE(ui->cbxProcess->itemData(2).toUInt(), 3u);
    QCOMPARE(dialog.getProcesses().size(), 14);
}

void TestEditCompatibleMaterialsDialog::listsFollowTheProcess()
{
    EditCompatibleMaterialsDialog dialog;
    // At first "Si Wet Etching": silicon only.
    QCOMPARE(ids(dialog.form()->listCompatibleMaterials), QList<quint32>{1});
    QCOMPARE(dialog.form()->listCompatibleMaterials->item(0)->text(), QStringLiteral("Si"));
    chooseProcess(dialog, 3); // CVD: 3, 16
    QCOMPARE(ids(dialog.form()->listCompatibleMaterials), (QList<quint32>{3, 16}));
    QCOMPARE(ids(dialog.form()->listAvailableMaterials),
             (QList<quint32>{1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    chooseProcess(dialog, 7); // Planarization: none
    QVERIFY(ids(dialog.form()->listCompatibleMaterials).isEmpty());
    QCOMPARE(dialog.form()->listAvailableMaterials->count(), 15);
}

void TestEditCompatibleMaterialsDialog::insertAppendsInListOrder()
{
    EditCompatibleMaterialsDialog dialog;
    chooseProcess(dialog, 3);
    selectIds(dialog.form()->listAvailableMaterials, {9, 1});
    dialog.form()->btnInsert->click();
    QCOMPARE(processIn(dialog.getProcesses(), 3).getCompatibleMaterials(),
             (QList<quint32>{3, 16, 1, 9}));
    QCOMPARE(ids(dialog.form()->listCompatibleMaterials), (QList<quint32>{3, 16, 1, 9}));
    QVERIFY(!ids(dialog.form()->listAvailableMaterials).contains(9));
    QVERIFY(dialog.form()->listAvailableMaterials->selectedItems().isEmpty());
    // Other processes and the catalogue are untouched.
    QCOMPARE(processIn(dialog.getProcesses(), 4).getCompatibleMaterials(),
             ProcessFactory::instance()->getProcess(4).getCompatibleMaterials());
    QCOMPARE(ProcessFactory::instance()->getProcess(3).getCompatibleMaterials(),
             (QList<quint32>{3, 16}));
}

void TestEditCompatibleMaterialsDialog::removeDropsEveryOccurrence()
{
    Process cvd = ProcessFactory::instance()->getProcess(3);
    cvd.addCompatibleMaterial(3); // a duplicate, as a hand-edited file may hold
    ProcessFactory::instance()->setProcess(cvd);
    EditCompatibleMaterialsDialog dialog;
    chooseProcess(dialog, 3);
    QCOMPARE(ids(dialog.form()->listCompatibleMaterials), (QList<quint32>{3, 16, 3}));
    dialog.form()->listCompatibleMaterials->item(0)->setSelected(true);
    dialog.form()->btnRemove->click();
    QCOMPARE(processIn(dialog.getProcesses(), 3).getCompatibleMaterials(), QList<quint32>{16});
    QVERIFY(ids(dialog.form()->listAvailableMaterials).contains(3));
}

void TestEditCompatibleMaterialsDialog::unknownIdsStayButAreNotShown()
{
    Process cvd = ProcessFactory::instance()->getProcess(3);
    cvd.addCompatibleMaterial(2);
    cvd.addCompatibleMaterial(999);
    ProcessFactory::instance()->setProcess(cvd);
    EditCompatibleMaterialsDialog dialog;
    chooseProcess(dialog, 3);
    QCOMPARE(ids(dialog.form()->listCompatibleMaterials), (QList<quint32>{3, 16}));
    selectIds(dialog.form()->listCompatibleMaterials, {16});
    dialog.form()->btnRemove->click();
    QCOMPARE(processIn(dialog.getProcesses(), 3).getCompatibleMaterials(),
             (QList<quint32>{3, 2, 999}));
}

void TestEditCompatibleMaterialsDialog::rejectedFromTheMenuChangesNothing()
{
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    const QString file = QDir::home().filePath(QStringLiteral("Celvane/processes.xml"));
    const QDateTime written = QFileInfo(file).lastModified();
    QPointer<Ui::MainWindow> window = showMainWindow();
    QVERIFY(window);
    whenModal([](QWidget *w) {
        EditCompatibleMaterialsDialog *dialog = qobject_cast<EditCompatibleMaterialsDialog *>(w);
        if (dialog) {
            chooseProcess(*dialog, 3);
            selectIds(dialog->form()->listAvailableMaterials, {1});
            dialog->form()->btnInsert->click();
        }
        static_cast<QDialog *>(w)->reject();
    });
    window->form()->actionManage_Compatible_Materials->trigger();
    QCOMPARE(ProcessFactory::instance()->getProcess(3).getCompatibleMaterials(),
             (QList<quint32>{3, 16}));
    QCOMPARE(QFileInfo(file).lastModified(), written);
    closeWindow(window);
}

CELVANE_GUI_TEST_MAIN(TestEditCompatibleMaterialsDialog)
#include "tst_editcompatiblematerialsdialog.moc"
