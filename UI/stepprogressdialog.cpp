#include "UI/stepprogressdialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressBar>
#include <QPushButton>
#include <QtConcurrent>

#include <exception>

namespace Ui {

namespace {

// The bar's resolution: totals of any size map onto it.
const int barSteps = 1000;
const int pollMilliseconds = 100;

/// Keeps every window but the progress dialog open while a step runs: closing one could save
/// the document or take the workspace away under the step.
class CloseGuard : public QObject
{
public:
    CloseGuard() { QCoreApplication::instance()->installEventFilter(this); }
    ~CloseGuard() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Widgets decide, not the windows of the window system that carry them.
        if (event->type() != QEvent::Close || !watched->isWidgetType() ||
            qobject_cast<StepProgressDialog *>(watched))
            return false;
        event->ignore();
        return true;
    }
};

} // namespace

StepProgressDialog::StepProgressDialog(QWidget *parent, const QString &name,
                                       Util::Progress &progress, bool cancellable)
    : QProgressDialog(name, QStringLiteral("Cancel"), 0, 0, parent), progress(progress),
      cancellable(cancellable), bar(new QProgressBar(this))
{
    setWindowTitle(name);
    setMinimumWidth(320);
    setWindowModality(Qt::ApplicationModal);
    setAutoClose(false);
    setAutoReset(false);
    // A bar of its own: the dialog's setValue() would run nested event loops from the poll.
    setBar(bar);
    // The dialog's own Cancel would hide it at once, while the step is still running.
    disconnect(this, SIGNAL(canceled()), this, SLOT(cancel()));
    connect(this, &QProgressDialog::canceled, this, &StepProgressDialog::requestCancel);
    if (!cancellable)
        setCancelButton(nullptr);
    poll.setInterval(pollMilliseconds);
    connect(&poll, &QTimer::timeout, this, &StepProgressDialog::updateProgress);
    poll.start();
    updateProgress();
}

void StepProgressDialog::run(QWidget *parent, const QString &name, Util::Progress &progress,
                             bool cancellable, const std::function<void()> &work, int showAfter)
{
    std::exception_ptr thrown;
    QEventLoop loop;
    QFutureWatcher<void> watcher;
    connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([&progress, &work, &thrown]() {
        Util::Progress::Scope scope(&progress);
        try {
            work();
        } catch (...) {
            thrown = std::current_exception();
        }
    }));
    const CloseGuard guard;
    QTimer patience;
    patience.setSingleShot(true);
    connect(&patience, &QTimer::timeout, &loop, &QEventLoop::quit);
    patience.start(showAfter);
    // Clicks and keys wait until the step has ended or the dialog blocks them: none may start
    // another operation or reach the volume while the step works on it.
    if (!watcher.isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!watcher.isFinished()) {
        StepProgressDialog dialog(parent, name, progress, cancellable);
        dialog.show();
        loop.exec();
    }
    watcher.waitForFinished();
    if (thrown)
        std::rethrow_exception(thrown);
}

void StepProgressDialog::updateProgress()
{
    const quint64 total = progress.getTotal();
    if (total == 0) {
        bar->setRange(0, 0); // busy: the step has not said how much there is
        return;
    }
    const quint64 done = qMin(progress.getDone(), total);
    bar->setRange(0, barSteps);
    bar->setValue(int(double(done) / double(total) * barSteps));
}

void StepProgressDialog::reject()
{
    requestCancel();
}

void StepProgressDialog::closeEvent(QCloseEvent *event)
{
    event->ignore();
    requestCancel();
}

void StepProgressDialog::requestCancel()
{
    if (!cancellable || progress.isCanceled())
        return;
    progress.cancel();
    setLabelText(labelText() + QStringLiteral(": canceling..."));
    if (QPushButton *button = findChild<QPushButton *>())
        button->setEnabled(false);
}

} // namespace Ui
