#include "UI/Observers/changetotalvolumeviewoptionsobserver.h"

#include "Core/Operations/changetotalvolumevisualizationoptions.h"
#include "Core/Operations/workspace.h"
#include "Model/Materials/materialfactory.h"
#include "UI/Operations/changevolumevisualizationdialog.h"

namespace Ui {
namespace Observers {

using Core::Operations::ChangeTotalVolumeVisualizationOptions;

ChangeTotalVolumeViewOptionsObserver::ChangeTotalVolumeViewOptionsObserver(
    Core::Operations::Workspace &workspace, QWidget *mainWindow)
    : workspace(workspace), mainWindow(mainWindow)
{}

void ChangeTotalVolumeViewOptionsObserver::update()
{
    // The observer is class-wide and may outlive the window (and workspace) it was made for.
    if (!mainWindow)
        return;
    const boost::shared_ptr<ChangeTotalVolumeVisualizationOptions> operation =
        boost::dynamic_pointer_cast<ChangeTotalVolumeVisualizationOptions>(
            workspace.getCurrentOperation());
    if (!operation || !operation->getVolume())
        return;

    Ui::Operations::ChangeVolumeVisualizationDialog dialog(
        ChangeTotalVolumeVisualizationOptions::Options::of(operation->getVolume()->getPainter()),
        mainWindow);
    if (dialog.exec() != QDialog::Accepted) {
        operation->cancel();
        return;
    }
    const Model::Materials::MaterialFactory::Ptr materials =
        Model::Materials::MaterialFactory::instance();
    for (const auto &entry : dialog.getColors()) {
        Model::Materials::Material material = materials->getMaterial(entry.first);
        if (material.getId() == 0)
            continue; // not in the catalogue any more: nothing to recolour
        material.setColor(entry.second.data());
        materials->setMaterial(material);
    }
    operation->setOptions(dialog.getOptions());
    operation->execute();
}

} // namespace Observers
} // namespace Ui
