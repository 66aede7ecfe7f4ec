#ifndef CELVANE_UI_MAINWINDOWPRESENTER_H
#define CELVANE_UI_MAINWINDOWPRESENTER_H

#include "Core/Operations/workspace.h"
#include "Model/Automaton/totalvolume.h"
#include "UI/Observers/undoredoobserver.h"
#include "UI/Observers/updateobserver.h"

#include <QObject>
#include <QPointer>
#include <boost/shared_ptr.hpp>

namespace Ui {

class MainWindow;

namespace Console {
class CommandConsole;
}

/// Owns the workspace of one main window and routes menu actions, Enter/Return and Escape
/// to its running operation.
class MainWindowPresenter : public QObject
{
    Q_OBJECT

public:
    explicit MainWindowPresenter(MainWindow *mainWindow);
    ~MainWindowPresenter() override;

    Core::Operations::Workspace &getWorkspace() { return workspace; }
    MainWindow *getMainWindow() const { return mainWindow; }
    Console::CommandConsole *getConsole() const;
    Core::Operations::Document &getDocument() { return workspace.getDocument(); }
    Core::Operations::Selection &getSelection() { return workspace.getSelection(); }

    void undo();
    void redo();
    /// Asks first; on Ok empties the scene, the history and every pending request.
    void newDocument();
    /// "Manage Materials": on OK every material of the table goes into the catalogue and the
    /// views show the new colours.
    void manageMaterials();
    /// "Manage Compatible Materials": on OK every process goes into the catalogue, which is
    /// then written to processes.xml.
    void manageCompatibleMaterials();
    /// "Export Cell Volume": asks for a .vti file and writes the selected cell volume (or the
    /// only one) to it; says why when there is none or the file cannot be written.
    void exportCellVolume();
    /// "Export Surface": asks how (one file or one per material, the scale) and where, then
    /// writes the cube faces of the selected (or only) cell volume as binary STL, or its
    /// marching-cubes surface over the cut box when the view shows that. Per material the files
    /// are named NAME-MATERIAL.stl after the name chosen.
    void exportSurface();
    /// "Save Cross Section": asks for the plane and a .png file, then writes the picture of
    /// that plane of the selected (or only) cell volume.
    void saveCrossSection();
    /// The selected cell volume, else the only one of the document; null, after telling the
    /// user why in a message titled title, when that does not name one.
    Model::Automaton::TotalVolume::Ptr volumeToExport(const QString &title);
    /// The observer whose updateGL() repaints the 3D view.
    boost::shared_ptr<Observers::UpdateObserver> registerUpdateObserver();

public Q_SLOTS:
    void undoStackChanged();
    void redoStackChanged();
    void operationActivated(const QString &operationId);
    void enterPressed();
    void cancelPressed();

private:
    MainWindow *mainWindow;
    Core::Operations::Workspace workspace;
    QPointer<Console::CommandConsole> console;
    boost::shared_ptr<Observers::UndoRedoObserver> undoObserver;
    boost::shared_ptr<Observers::UndoRedoObserver> redoObserver;
};

} // namespace Ui

#endif
