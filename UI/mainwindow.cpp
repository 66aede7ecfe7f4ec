#include "UI/mainwindow.h"

#include <QStatusBar>

namespace Ui {

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Celvane"));
    statusBar();
}

MainWindow::~MainWindow() = default;

} // namespace Ui
