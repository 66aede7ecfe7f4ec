#ifndef CELVANE_UI_BATCHRUN_RUNPROCESSESDIALOG_H
#define CELVANE_UI_BATCHRUN_RUNPROCESSESDIALOG_H

#include "Core/Operations/BatchRun/batchrun.h"
#include "Core/Operations/BatchRun/batchrunoperation.h"
#include "Model/Automaton/totalvolume.h"
#include "UI/BatchRun/processdata.h"

#include <QDialog>
#include <QFuture>
#include <QList>
#include <QTimer>

#include <memory>

namespace Core {
namespace Operations {
class Workspace;
}
} // namespace Core

namespace Ui {

class MainWindow;
class RunProcessesBaseDialog;

/// Composes a process list (each step through the options dialog of its operation), saves and
/// loads it, and runs it on one cell volume in a worker thread while a progress bar follows.
class RunProcessesDialog : public QDialog
{
    Q_OBJECT

public:
    /// volume may be empty: then the list must begin with Create Substrate.
    RunProcessesDialog(MainWindow *mainWindow, const Model::Automaton::TotalVolume::Ptr &volume,
                       Core::Operations::Workspace &workspace);
    ~RunProcessesDialog() override;

    Ui::RunProcessesBaseDialog *form() const { return ui; }
    const QList<ProcessData> &getProcessList() const { return processList; }
    /// Appends a step and shows the list again.
    void appendProcess(const ProcessData &data);
    /// The batch's volume: the one named at the start or the last one a run created.
    Model::Automaton::TotalVolume::Ptr getVolume() const { return volume; }
    /// True from Run until the dialog has taken note of the run's end.
    bool isRunning() const { return runInProgress; }
    /// What the last run did: how many steps ran, and every step skipped or failed with why.
    QString getRunSummary() const { return runSummary; }

public Q_SLOTS:
    void on_btnAddProcess_clicked();
    void on_btnClose_clicked();
    void on_btnRun_clicked();
    void on_btnRemoveProcess_clicked();
    void on_btnMoveUp_clicked();
    void on_btnMoveDown_clicked();
    void on_btnSaveList_clicked();
    void on_btnLoadList_clicked();
    void selectionChanged();
    void updateProgress();
    /// Refreshes the picture of the batch's volume and, when filename is not empty, saves the
    /// view to it. Called on the GUI thread for the run's Save Image steps.
    void updateGeometry(QString filename);

protected:
    /// Escape or the window's close button during a run stop it instead (after its step).
    void reject() override;

private:
    void showList();
    /// The list position of the selected step, or -1.
    int selectedIndex() const;
    void swapWith(int offset);
    /// Asks for the parameters of a step of the type in the dialog of its operation; false
    /// when the dialog was cancelled.
    bool askForStep(quint32 type, ProcessData &data);
    /// The worker thread's part of a run.
    void runList();
    void stop();
    /// After a run: its history entry records what the run did and goes onto the history.
    void recordRun();

    Ui::RunProcessesBaseDialog *ui;
    MainWindow *mainWindow;
    Model::Automaton::TotalVolume::Ptr volume;
    Core::Operations::Workspace &workspace;
    /// The worker of the last run.
    QFuture<void> running;
    bool runInProgress;
    QTimer timer;
    std::unique_ptr<Core::Operations::BatchRun> batch;
    /// The history entry of the run in progress.
    boost::shared_ptr<Core::Operations::BatchRunOperation> runRecord;
    QList<ProcessData> processList;
    QList<Core::Operations::BatchRun::Step> runSteps;
    QString runSummary;
    /// Answer of the last updateGeometry to the waiting worker.
    bool imageSaved;
};

} // namespace Ui

#endif
