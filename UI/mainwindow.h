#ifndef CELVANE_UI_MAINWINDOW_H
#define CELVANE_UI_MAINWINDOW_H

#include "UI/mainwindowpresenter.h"

#include <QDir>
#include <QHash>
#include <QMainWindow>

class QLabel;
class QShortcut;

namespace Ui {
class MainWindowForm;
}

namespace Ui {

class GLWidget;
class OperationMapper;

/// The application window: menus over the 3D view, one per open document. It deletes itself
/// when closed, and with it its presenter, workspace and state files.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    MainWindowPresenter &getPresenter() { return presenter; }
    Ui::MainWindowForm *form() const { return ui; }
    /// The 3D view, the central widget.
    GLWidget *getGLWidget() const { return glWidget; }
    /// Where "Save Image" starts: the folder of the last saved image, at first the home folder.
    static QDir lastImageLocation();
    /// Renders the view and writes it; false when the file could not be written.
    bool writeImage(const QString &fileName);

    /// "Undo " followed by the name; enabled exactly when the name is not empty.
    void setUndoAction(const QString &operationName);
    void setRedoAction(const QString &operationName);
    /// Says on the console and in the status bar that the entry of an operation id has no
    /// operation yet (the running operation goes on).
    void reportUnavailable(quint32 id);

public Q_SLOTS:
    void showConsole(bool show);
    void undoOperation();
    void redoOperation();
    void selectionToggled(bool on);
    void lightingToggled(bool on);
    void renderObjectsToggled(bool on);
    void renderObjectEdgesToggled(bool on);
    void setView(const QString &view);
    void renderGridToggled(bool on);
    void snapToGridToggled(bool on);
    void changeGridSpacing();
    void changeWindowColors();
    void changeZoom();
    void changeTranslate();
    void saveImage(QString fileName);
    void saveImage();
    void showAboutInfo();
    void on_actionManage_Materials_triggered();
    void on_actionManage_Compatible_Materials_triggered();
    void on_actionNew_triggered();
    void repaintCentralWidget();

protected:
    void changeEvent(QEvent *event) override;
    /// Keeps the console above the window it belongs to once the window is mapped.
    void showEvent(QShowEvent *event) override;
    /// A document with unsaved changes asks Save, Discard or Cancel before its window goes.
    void closeEvent(QCloseEvent *event) override;

private:
    void mapOperations();
    void mapViews();

    static QDir &imageLocation();

    Ui::MainWindowForm *ui;
    MainWindowPresenter presenter;
    OperationMapper *operationMapper;
    OperationMapper *viewMapper;
    QHash<quint32, QAction *> operationActions;
    QShortcut *enterShortcut;
    QShortcut *returnShortcut;
    QShortcut *escapeShortcut;
    GLWidget *glWidget;
    QLabel *cursorLabel;
    boost::shared_ptr<Observers::UpdateObserver> updateObserver;
};

} // namespace Ui

#endif
