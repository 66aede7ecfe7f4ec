#include "Core/Operations/Glue/extractfilm.h"

#include "Core/Operations/Glue/filmextraction.h"
#include "Core/Operations/volumepicker.h"
#include "Core/Operations/workspace.h"
#include "Model/Materials/materialfactory.h"

#include <algorithm>

namespace Core {
namespace Operations {

using Model::Automaton::TotalVolume;

ExtractFilm::ExtractFilm(Workspace &workspace)
    : ObjectOperation(workspace, "Extract Film", 8), filmMaterial(0), invert(false), state(0)
{}

void ExtractFilm::execute()
{
    if (state == 1) {
        end();
        return;
    }
    if (state != 0 || volume)
        return;
    volume =
        VolumePicker::takeFirst(workspace, this, ": select a cell volume and press Enter/Return.");
    if (!volume)
        return;
    writeMessage(": cell volume selected.");
    // Keeps the observer alive while its dialog runs.
    const Util::ObserverPtr o = observer;
    if (o)
        o->update();
}

void ExtractFilm::setOptions(quint32 material, bool invertFilm)
{
    if (state != 0 || !volume)
        return;
    filmMaterial = material;
    invert = invertFilm;
    state = 1;
}

void ExtractFilm::cancel()
{
    if (state == 2)
        return;
    writeMessage(": Operation canceled.");
    workspace.getConsoleInput().resetRequest();
    clearIfCurrent();
}

void ExtractFilm::end()
{
    if (state != 1 || !volume) {
        cancel();
        return;
    }
    error.clear();
    // The film stands ten cells to the right of the source: not where no document holds it.
    const float largest =
        std::max({volume->getCellSizeX(), volume->getCellSizeY(), volume->getCellSizeZ()});
    const Util::Vector3D shift((double(volume->getCellsX()) + 10.0) * largest, 0.0, 0.0);
    TotalVolume::Ptr film;
    if (TotalVolume::checkExtent(volume->getCellsX(), volume->getCellsY(), volume->getCellsZ(),
                                 volume->getCellSizeX(), volume->getCellSizeY(),
                                 volume->getCellSizeZ(), volume->getPosition() + shift, &error)) {
        FilmExtraction extraction(volume.get(), filmMaterial, invert);
        film = extraction.run(&error);
        if (film && extraction.getFilmCells() == 0) {
            // An empty volume would show nothing and only burden the scene and the history.
            const Model::Materials::Material material =
                Model::Materials::MaterialFactory::instance()->getMaterial(filmMaterial);
            const QString name = material.getId() == filmMaterial
                                     ? material.getName()
                                     : QStringLiteral("material %1").arg(filmMaterial);
            error = QStringLiteral("The cell volume holds no %1: there is no film to extract.")
                        .arg(name);
            film.reset();
        }
    }
    if (!film) {
        // Nothing enters the scene or the history; the observer shows the reason too.
        writeMessage(": " + error.toStdString());
        state = 0;
        cancel();
        return;
    }
    film->translate(Util::Vector4D(shift.x, 0.0, 0.0, 0.0));
    film->getPainter().refresh();
    newVolume = film;
    state = 2;
    workspace.getDocument().addObject(newVolume);
    workspace.getConsoleInput().resetRequest();
    writeMessage(": film extracted.");
    finish();
    workspace.notifyUpdate();
}

bool ExtractFilm::undo()
{
    workspace.getDocument().removeObject(newVolume);
    workspace.notifyUpdate();
    return true;
}

void ExtractFilm::redo()
{
    workspace.getDocument().addObject(newVolume);
    workspace.notifyUpdate();
}

} // namespace Operations
} // namespace Core
