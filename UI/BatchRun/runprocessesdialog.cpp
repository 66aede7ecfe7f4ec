#include "UI/BatchRun/runprocessesdialog.h"

#include "Core/Operations/Anisotropic/anisotropicfilmdeposition.h"
#include "Core/Operations/BatchRun/processsteptypes.h"
#include "Core/Operations/ifiledialogs.h"
#include "Core/Operations/workspace.h"
#include "Model/Materials/materialfactory.h"
#include "Model/Process/processfactory.h"
#include "UI/BatchRun/processlistarchiver.h"
#include "UI/Operations/anisotropicdepositiondialog.h"
#include "UI/Operations/bcaetchingdialog.h"
#include "UI/Operations/createsubstratedialog.h"
#include "UI/Operations/dopingoptionsdialog.h"
#include "UI/Operations/electrodepositiondialog.h"
#include "UI/Operations/ionimplantationoptionsdialog.h"
#include "UI/Operations/isotropicdepositiondialog.h"
#include "UI/Operations/isotropicetchingdialog.h"
#include "UI/Operations/mooreoptionsdialog.h"
#include "UI/Operations/photolithographydialog.h"
#include "UI/Operations/planarizationoptionsdialog.h"
#include "UI/Operations/simpleoxidationoptionsdialog.h"
#include "UI/Operations/simpleriedialog.h"
#include "UI/Operations/spincoatingoptionsdialog.h"
#include "UI/mainwindow.h"
#include "ui_runprocessesdialog.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QtConcurrent>

namespace Ui {

namespace {

using Core::Operations::BatchRun;
using Core::Operations::ProcessStepTypes;

/// Adds the id (name without spaces plus "Id"), the display name and the colour of a material.
void addMaterial(ProcessData &data, const QString &name, quint32 id, bool idVisible = false)
{
    const Model::Materials::Material material =
        Model::Materials::MaterialFactory::instance()->getMaterial(id);
    const float *rgba = material.getColor();
    data.addParameter(QString(name).remove(QLatin1Char(' ')) + QStringLiteral("Id"), id, idVisible);
    data.addParameter(name, material.getName(), true);
    data.addParameter(name + QStringLiteral("_Color"),
                      QColor::fromRgbF(double(rgba[0]), double(rgba[1]), double(rgba[2])), false);
}

/// Adds a mask drawn in a GDSII layout: the file, its cell and layer, scale and offsets.
void addLayoutMask(ProcessData &data, const QString &side,
                   const Core::Operations::LayoutFile::Choice &choice)
{
    data.addParameter(side + QStringLiteral(" Layout"), choice.file, true);
    data.addParameter(side + QStringLiteral(" Cell"), choice.cell, true);
    data.addParameter(side + QStringLiteral(" Layer"), int(choice.layer), true);
    data.addParameter(side + QStringLiteral(" Scale"), choice.scale, true);
    data.addParameter(side + QStringLiteral(" Offset X"), choice.offsetX, true);
    data.addParameter(side + QStringLiteral(" Offset Y"), choice.offsetY, true);
}

QString directionName(int direction)
{
    switch (direction) {
    case 1:
        return QStringLiteral("From top");
    case 2:
        return QStringLiteral("From below");
    case 3:
        return QStringLiteral("From both sides");
    default:
        return QStringLiteral("None");
    }
}

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

Model::Process::Process process(const char *name)
{
    return Model::Process::ProcessFactory::instance()->getProcess(QString::fromLatin1(name));
}

const QString listCaption = QStringLiteral("Process List File");
const QString listFilter = QStringLiteral("Process List (*.plst)");

} // namespace

RunProcessesDialog::RunProcessesDialog(MainWindow *mainWindow,
                                       const Model::Automaton::TotalVolume::Ptr &volume,
                                       Core::Operations::Workspace &workspace)
    : QDialog(mainWindow), ui(new Ui::RunProcessesBaseDialog()), mainWindow(mainWindow),
      volume(volume), workspace(workspace), runInProgress(false), imageSaved(false)
{
    ui->setupUi(this);
    setFixedSize(750, 470);
    for (const quint32 type : ProcessStepTypes::addOrder())
        ui->cbxProcess->addItem(ProcessStepTypes::addText(type), type);
    ui->treeWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(ui->treeWidget, &QTreeWidget::itemSelectionChanged, this,
            &RunProcessesDialog::selectionChanged);
    // Parameter names are what --set takes: a row shown open must show them whole.
    connect(ui->treeWidget, &QTreeWidget::itemExpanded, this,
            [this]() { ui->treeWidget->resizeColumnToContents(2); });
    timer.setInterval(500);
    connect(&timer, &QTimer::timeout, this, &RunProcessesDialog::updateProgress);
}

RunProcessesDialog::~RunProcessesDialog()
{
    // The worker uses this dialog until it ends.
    if (batch)
        batch->requestStop();
    running.waitForFinished();
    recordRun();
    delete ui;
}

void RunProcessesDialog::recordRun()
{
    if (!runRecord)
        return;
    QString error;
    if (!runRecord->recordEnd(&error))
        workspace.getConsoleInput().writeMessage(
            QStringLiteral("Batch Run: the result could not be recorded for redo (%1); the run "
                           "cannot be undone.")
                .arg(error)
                .toStdString());
    runRecord.reset();
}

void RunProcessesDialog::appendProcess(const ProcessData &data)
{
    processList.append(data);
    showList();
}

void RunProcessesDialog::showList()
{
    QTreeWidget *tree = ui->treeWidget;
    tree->clear();
    for (int i = 0; i < processList.size(); ++i) {
        const ProcessData &data = processList.at(i);
        QTreeWidgetItem *row = new QTreeWidgetItem(tree);
        row->setText(0, QString::number(i + 1));
        row->setText(1, ProcessStepTypes::name(data.getProcessType()));
        row->setData(1, Qt::UserRole, data.getSerial());
        const QMap<QString, QVariant> &parameters = data.getParameters();
        for (auto it = parameters.constBegin(); it != parameters.constEnd(); ++it) {
            if (!data.isVisible(it.key()))
                continue;
            QTreeWidgetItem *child = new QTreeWidgetItem(row);
            child->setText(2, it.key());
            child->setText(3, ProcessListArchiver::parameterData(it.value()));
            const QVariant colour = data.getParameter(it.key() + QStringLiteral("_Color"));
            if (colour.canConvert<QColor>() && colour.value<QColor>().isValid())
                child->setIcon(3, swatch(colour.value<QColor>()));
        }
    }
    tree->resizeColumnToContents(0);
    tree->resizeColumnToContents(1);
}

int RunProcessesDialog::selectedIndex() const
{
    const QList<QTreeWidgetItem *> selected = ui->treeWidget->selectedItems();
    if (selected.isEmpty() || selected.first()->parent())
        return -1;
    const quint32 serial = selected.first()->data(1, Qt::UserRole).toUInt();
    for (int i = 0; i < processList.size(); ++i)
        if (processList.at(i).getSerial() == serial)
            return i;
    return -1;
}

void RunProcessesDialog::selectionChanged()
{
    // Only whole steps can be selected, not their parameter rows.
    for (QTreeWidgetItem *item : ui->treeWidget->selectedItems()) {
        if (item->parent()) {
            ui->treeWidget->clearSelection();
            return;
        }
    }
}

void RunProcessesDialog::on_btnRemoveProcess_clicked()
{
    const int index = selectedIndex();
    if (index < 0 || isRunning())
        return;
    processList.removeAt(index);
    showList();
}

void RunProcessesDialog::swapWith(int offset)
{
    const int index = selectedIndex();
    const int other = index + offset;
    if (index < 0 || other < 0 || other >= processList.size() || isRunning())
        return;
    processList.swapItemsAt(index, other);
    showList();
    ui->treeWidget->setCurrentItem(ui->treeWidget->topLevelItem(other));
}

void RunProcessesDialog::on_btnMoveUp_clicked()
{
    swapWith(-1);
}

void RunProcessesDialog::on_btnMoveDown_clicked()
{
    swapWith(1);
}

void RunProcessesDialog::on_btnSaveList_clicked()
{
    const boost::shared_ptr<Core::Operations::IFileDialogs> dialogs =
        Core::Operations::IFileDialogs::instance();
    QString fileName =
        dialogs ? dialogs->getSaveFileName(listCaption, QDir::homePath(), listFilter) : QString();
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".plst");
    ProcessListArchiver archiver;
    if (!archiver.saveProcessList(fileName, processList))
        QMessageBox::warning(this, listCaption,
                             QStringLiteral("The process list could not be saved to \"%1\": %2.")
                                 .arg(fileName, archiver.getError()));
}

void RunProcessesDialog::on_btnLoadList_clicked()
{
    const boost::shared_ptr<Core::Operations::IFileDialogs> dialogs =
        Core::Operations::IFileDialogs::instance();
    const QString fileName =
        dialogs ? dialogs->getOpenFileName(listCaption, QDir::homePath(), listFilter) : QString();
    if (fileName.isEmpty() || isRunning())
        return;
    QList<ProcessData> loaded;
    ProcessListArchiver archiver;
    if (!archiver.loadProcessList(fileName, loaded)) {
        QMessageBox::warning(this, listCaption,
                             QStringLiteral("The process list \"%1\" cannot be read: %2.")
                                 .arg(fileName, archiver.getError()));
        return;
    }
    processList = loaded;
    showList();
}

void RunProcessesDialog::on_btnAddProcess_clicked()
{
    if (isRunning())
        return;
    const quint32 type = ui->cbxProcess->currentData().toUInt();
    ProcessData data(type);
    if (askForStep(type, data))
        appendProcess(data);
}

bool RunProcessesDialog::askForStep(quint32 type, ProcessData &data)
{
    const auto accepted = [](QDialog &dialog) { return dialog.exec() == QDialog::Accepted; };
    switch (type) {
    case ProcessStepTypes::Cvd: {
        Operations::IsotropicDepositionDialog dialog(this);
        dialog.setMaterials(process("CVD").resolveCompatibleMaterials());
        if (!accepted(dialog))
            return false;
        data.addParameter(QStringLiteral("Thickness"), dialog.getThickness(), true);
        addMaterial(data, QStringLiteral("Material"), dialog.getMaterialId());
        return true;
    }
    case ProcessStepTypes::IsotropicEtching: {
        Operations::IsotropicEtchingDialog dialog(this);
        dialog.setProcess(process("Isotropic Etching"));
        if (!accepted(dialog))
            return false;
        data.addParameter(QStringLiteral("Depth"), dialog.getDepth(), true);
        addMaterial(data, QStringLiteral("Material"), dialog.getMaterialId());
        return true;
    }
    case ProcessStepTypes::MooreDeposition:
    case ProcessStepTypes::MooreEtching: {
        const bool deposition = type == ProcessStepTypes::MooreDeposition;
        Operations::MooreOptionsDialog dialog(this);
        dialog.setValueLabel(deposition ? QStringLiteral("Film Thickness")
                                        : QStringLiteral("Etch Depth"));
        if (!accepted(dialog))
            return false;
        data.addParameter(deposition ? QStringLiteral("Thickness") : QStringLiteral("Depth"),
                          dialog.getSteps(), true);
        addMaterial(data, QStringLiteral("Material"), dialog.getMaterialId());
        return true;
    }
    case ProcessStepTypes::Pvd: {
        Operations::AnisotropicDepositionDialog dialog(this);
        dialog.setProcess(process("PVD"));
        if (!accepted(dialog))
            return false;
        data.addParameter(QStringLiteral("Thickness"), dialog.getThickness(), true);
        addMaterial(data, QStringLiteral("Material"), dialog.getMaterialId());
        data.addParameter(QStringLiteral("DepositOn"), int(dialog.getDepositOn()), false);
        data.addParameter(
            QStringLiteral("Deposit On"),
            Core::Operations::AnisotropicFilmDeposition::depositOnName(dialog.getDepositOn()),
            true);
        data.addParameter(QStringLiteral("Horizontal to Vertical Ratio"), dialog.getRatio(), true);
        return true;
    }
    case ProcessStepTypes::Electroplating: {
        Operations::ElectrodepositionDialog dialog(this);
        if (!accepted(dialog))
            return false;
        data.addParameter(QStringLiteral("Film Thickness"), dialog.getThickness(), true);
        addMaterial(data, QStringLiteral("Conducting Material"), dialog.getConductingMaterialId());
        addMaterial(data, QStringLiteral("Deposited Material"), dialog.getMaterialId());
        return true;
    }
    case ProcessStepTypes::Doping: {
        Operations::DopingOptionsDialog dialog(this);
        if (!accepted(dialog))
            return false;
        data.addParameter(QStringLiteral("Doping Depth"), float(dialog.getDepth()), true);
        addMaterial(data, QStringLiteral("Doped Material"), dialog.getMaterialId(), true);
        return true;
    }
    case ProcessStepTypes::IonImplantation: {
        Operations::IonImplantationOptionsDialog dialog(this);
        if (!accepted(dialog))
            return false;
        data.addParameter(QStringLiteral("Annealing Distance"),
                          float(dialog.getAnnealingDistance()), true);
        data.addParameter(QStringLiteral("Implantation Depth"),
                          float(dialog.getImplantationDepth()), true);
        addMaterial(data, QStringLiteral("Doped Material"), dialog.getMaterialId(), true);
        return true;
    }
    case ProcessStepTypes::Photolithography: {
        Operations::PhotolithographyDialog dialog(this);
        if (!accepted(dialog))
            return false;
        addMaterial(data, QStringLiteral("Material"), dialog.getMaterialId());
        data.addParameter(QStringLiteral("Top Mask"), QVariant::fromValue(dialog.getTopMask()),
                          false);
        data.addParameter(QStringLiteral("Top Mask File"), dialog.getTopMaskFile(), true);
        data.addParameter(QStringLiteral("Top Mask Height"), dialog.getTopMaskHeight(), true);
        data.addParameter(QStringLiteral("Top Mask Width"), dialog.getTopMaskWidth(), true);
        data.addParameter(QStringLiteral("Bottom Mask"),
                          QVariant::fromValue(dialog.getBottomMask()), false);
        data.addParameter(QStringLiteral("Bottom Mask File"), dialog.getBottomMaskFile(), true);
        data.addParameter(QStringLiteral("Bottom Mask Height"), dialog.getBottomMaskHeight(), true);
        data.addParameter(QStringLiteral("Bottom Mask Width"), dialog.getBottomMaskWidth(), true);
        // A layout mask is kept as the choice and rasterised onto the volume the step runs on.
        if (dialog.hasTopLayout())
            addLayoutMask(data, QStringLiteral("Top Mask"), dialog.getTopLayout());
        if (dialog.hasBottomLayout())
            addLayoutMask(data, QStringLiteral("Bottom Mask"), dialog.getBottomLayout());
        return true;
    }
    case ProcessStepTypes::Planarization: {
        Operations::PlanarizationOptionsDialog dialog(this);
        if (volume)
            dialog.setHeightLimit(int(volume->getCellsZ()));
        if (!accepted(dialog))
            return false;
        data.addParameter(QStringLiteral("Maximum Height"), dialog.getMaximumHeight(), true);
        data.addParameter(QStringLiteral("Minimum Height"), dialog.getMinimumHeight(), true);
        return true;
    }
    case ProcessStepTypes::SpinCoating: {
        Operations::SpinCoatingOptionsDialog dialog(this);
        if (volume)
            dialog.setHeightLimit(int(volume->getCellsZ()));
        if (!accepted(dialog))
            return false;
        addMaterial(data, QStringLiteral("Material"), dialog.getMaterialId());
        data.addParameter(QStringLiteral("Maximum Height"), dialog.getHeight(), true);
        return true;
    }
    case ProcessStepTypes::SimpleRie: {
        Operations::SimpleRIEDialog dialog(this);
        if (!accepted(dialog))
            return false;
        const int direction = (dialog.etchFromTop() ? 1 : 0) | (dialog.etchFromBelow() ? 2 : 0);
        addMaterial(data, QStringLiteral("Material"), dialog.getMaterialId());
        data.addParameter(QStringLiteral("Etch Depth"), dialog.getDepth(), true);
        data.addParameter(QStringLiteral("EtchDirectionValue"), direction, false);
        data.addParameter(QStringLiteral("Etch Direction"), directionName(direction), true);
        return true;
    }
    case ProcessStepTypes::SiWetEtching: {
        Operations::BCAEtchingDialog dialog(this);
        if (!accepted(dialog))
            return false;
        data.addParameter(QStringLiteral("Depth"), dialog.getDepth(), true);
        return true;
    }
    case ProcessStepTypes::SiOxidation: {
        Operations::SimpleOxidationOptionsDialog dialog(this);
        if (!accepted(dialog))
            return false;
        const bool timeGiven = dialog.isTimeGiven();
        data.addParameter(QStringLiteral("Micron Conversion"), dialog.getMicronConversion(), true);
        data.addParameter(QStringLiteral("Oxidation Pressure"), dialog.getOxidationPressure(),
                          timeGiven);
        data.addParameter(QStringLiteral("Oxidation Temperature"), dialog.getOxidationTemperature(),
                          timeGiven);
        data.addParameter(QStringLiteral("Oxidation Time"), dialog.getOxidationTime(), timeGiven);
        data.addParameter(QStringLiteral("OxidationTimeSet"), timeGiven, false);
        data.addParameter(QStringLiteral("Oxidation Thickness"), dialog.getOxideThickness(),
                          !timeGiven);
        data.addParameter(QStringLiteral("OxidationThicknessSet"), !timeGiven, false);
        return true;
    }
    case ProcessStepTypes::SaveImage: {
        const boost::shared_ptr<Core::Operations::IFileDialogs> dialogs =
            Core::Operations::IFileDialogs::instance();
        const QString fileName =
            dialogs ? dialogs->getSaveFileName(QStringLiteral("Save Image"), QDir::homePath(),
                                               QStringLiteral("Image Files (*.png *.jpg *.bmp)"))
                    : QString();
        if (fileName.isEmpty())
            return false;
        data.addParameter(QStringLiteral("Filename"), fileName, true);
        return true;
    }
    case ProcessStepTypes::CreateSubstrate: {
        Operations::CreateSubstrateDialog dialog(this);
        if (!accepted(dialog))
            return false;
        const bool ball = dialog.isSpherical();
        addMaterial(data, QStringLiteral("Material"), dialog.getMaterialId());
        data.addParameter(QStringLiteral("Lower Left Front Corner"),
                          QVariant::fromValue(dialog.getPosition()), true);
        data.addParameter(QStringLiteral("Volume Size X"), dialog.getCellsX(), true);
        data.addParameter(QStringLiteral("Volume Size Y"), dialog.getCellsY(), true);
        data.addParameter(QStringLiteral("Volume Size Z"), dialog.getCellsZ(), true);
        data.addParameter(QStringLiteral("SphericalSubstrate"), ball, false);
        data.addParameter(QStringLiteral("Substrate Size X"), dialog.getWidth(), !ball);
        data.addParameter(QStringLiteral("Substrate Size Y"), dialog.getLength(), !ball);
        data.addParameter(QStringLiteral("Substrate Size Z"), dialog.getHeight(), !ball);
        data.addParameter(QStringLiteral("Substrate Delta X"), dialog.getOffsetX(), !ball);
        data.addParameter(QStringLiteral("Substrate Delta Y"), dialog.getOffsetY(), !ball);
        data.addParameter(QStringLiteral("Substrate Delta Z"), dialog.getOffsetZ(), !ball);
        data.addParameter(QStringLiteral("Substrate Center X"), dialog.getCenterX(), ball);
        data.addParameter(QStringLiteral("Substrate Center Y"), dialog.getCenterY(), ball);
        data.addParameter(QStringLiteral("Substrate Center Z"), dialog.getCenterZ(), ball);
        data.addParameter(QStringLiteral("Substrate Radius"), dialog.getRadius(), ball);
        return true;
    }
    default:
        return false;
    }
}

void RunProcessesDialog::on_btnRun_clicked()
{
    if (isRunning())
        return;
    ui->progressBar->setValue(0);
    ui->progressBar->setEnabled(true);
    ui->progressBar->setRange(0, processList.size());
    // The whole run becomes one history entry; without its record it does not start.
    runRecord.reset(new Core::Operations::BatchRunOperation(workspace));
    QString error;
    if (!runRecord->recordStart(volume, &error)) {
        runRecord.reset();
        QMessageBox::warning(this, QStringLiteral("Batch Run"),
                             QStringLiteral("The cells could not be recorded for undo (%1); the "
                                            "run did not start.")
                                 .arg(error));
        return;
    }

    runSteps.clear();
    for (const ProcessData &data : processList)
        runSteps.append({data.getProcessType(), data.getParameters()});
    Core::Operations::StepContext context;
    context.volume = volume;
    context.document = &workspace.getDocument();
    context.records = &workspace.getVolumeRecords();
    context.saveImage = [this](const Model::Automaton::TotalVolume::Ptr &stepVolume,
                               const QString &fileName, QString *reason) {
        // The worker waits while the GUI thread draws and saves.
        volume = stepVolume;
        QMetaObject::invokeMethod(this, "updateGeometry", Qt::BlockingQueuedConnection,
                                  Q_ARG(QString, fileName));
        if (!imageSaved)
            *reason = QStringLiteral("the view could not be saved to \"%1\"").arg(fileName);
        return imageSaved;
    };
    batch.reset(new BatchRun(context));
    runSummary.clear();
    ui->btnClose->setText(QStringLiteral("Stop"));
    runInProgress = true;
    running = QtConcurrent::run([this]() { runList(); });
    timer.start();
}

void RunProcessesDialog::runList()
{
    batch->run(runSteps);
}

void RunProcessesDialog::updateGeometry(QString filename)
{
    if (volume)
        volume->getPainter().refresh();
    if (mainWindow)
        mainWindow->repaintCentralWidget();
    imageSaved = filename.isEmpty() || (mainWindow && mainWindow->writeImage(filename));
}

void RunProcessesDialog::updateProgress()
{
    if (!batch)
        return;
    ui->progressBar->setValue(int(batch->getCompletedSteps()));
    if (!running.isFinished())
        return;
    timer.stop();
    runInProgress = false;
    ui->btnClose->setText(QStringLiteral("Close"));
    ui->btnClose->setEnabled(true);
    volume = batch->getVolume();
    recordRun();
    runSummary = batch->summary(runSteps);
    if (batch->getCompletedSteps() > 0)
        workspace.getDocument().setModified(true);
    if (volume) {
        workspace.refreshShownLattice(*volume);
        volume->getPainter().refresh();
        workspace.notifyUpdate();
        if (mainWindow)
            mainWindow->repaintCentralWidget();
    }
    if (batch->missingVolume()) {
        // A Create Substrate that failed (too large for the memory) is the real reason.
        const QStringList failures = runSummary.split(QLatin1Char('\n')).mid(1);
        if (!failures.isEmpty())
            workspace.getConsoleInput().writeMessage((QStringLiteral("Batch Run: ") +
                                                      failures.join(QStringLiteral("; ")) +
                                                      QLatin1Char('.'))
                                                         .toStdString());
        QMessageBox::critical(this, QStringLiteral("Missing Cell Volume"),
                              QStringLiteral("No cell volume was selected and a cell volume was "
                                             "not created. The cell volume must be created "
                                             "before any other process."),
                              QMessageBox::Ok);
        ui->progressBar->setValue(0);
        return;
    }
    bool allRan = !batch->wasStopped();
    for (const BatchRun::Result &result : batch->getResults())
        allRan = allRan && result.outcome == BatchRun::Ran;
    if (!allRan)
        QMessageBox::warning(this, QStringLiteral("Batch Run"), runSummary);
}

void RunProcessesDialog::stop()
{
    if (!batch || !isRunning())
        return;
    batch->requestStop();
    ui->btnClose->setText(QStringLiteral("Stopping"));
    ui->btnClose->setEnabled(false);
}

void RunProcessesDialog::on_btnClose_clicked()
{
    // During a run Close is Stop: the run ends after its current step.
    if (isRunning()) {
        stop();
        return;
    }
    QDialog::reject();
}

void RunProcessesDialog::reject()
{
    if (isRunning()) {
        stop();
        return;
    }
    QDialog::reject();
}

} // namespace Ui
