#ifndef CELVANE_UI_STEPPROGRESSDIALOG_H
#define CELVANE_UI_STEPPROGRESSDIALOG_H

#include "Util/progress.h"

#include <QProgressDialog>
#include <QTimer>

#include <functional>

class QProgressBar;

namespace Ui {

/// The progress of a step that takes more than a moment: the step's name, a bar and, when the
/// step can put its cells back, a Cancel button. It stays up until the step has ended, also
/// after Cancel (the step stops at its next pass), so that nothing reaches the volume meanwhile.
class StepProgressDialog : public QProgressDialog
{
    Q_OBJECT

public:
    /// How long a step runs before the dialog shows.
    static const int showAfterMilliseconds = 300;

    StepProgressDialog(QWidget *parent, const QString &name, Util::Progress &progress,
                       bool cancellable);

    /// Runs work on the global thread pool, with progress as its current progress, and returns
    /// once it has ended, throwing what it threw. Meanwhile the windows go on repainting but
    /// take no input: none until showAfter milliseconds have passed, then the dialog shows,
    /// modal for the whole application.
    static void run(QWidget *parent, const QString &name, Util::Progress &progress,
                    bool cancellable, const std::function<void()> &work,
                    int showAfter = showAfterMilliseconds);

public Q_SLOTS:
    /// Escape asks for a stop like Cancel; the dialog stays until the step has ended.
    void reject() override;
    /// Shows the step's counters.
    void updateProgress();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void requestCancel();

    Util::Progress &progress;
    bool cancellable;
    QProgressBar *bar;
    QTimer poll;
};

} // namespace Ui

#endif
