#include "Core/Operations/Planarization/spincoating.h"

#include "Model/Automaton/totalvolume.h"

using Model::Automaton::TotalVolume;

namespace Core {
namespace Operations {

SpinCoating::SpinCoating(TotalVolume *volume, quint32 material, quint32 height)
    : ColumnWorker(volume, lightWorkStripWidth), material(material)
{
    this->height = qMin(height, cellsZ);
}

bool SpinCoating::runSpinCoating(QString *error)
{
    if (!checkVolume(QStringLiteral("No cell volume to pour material into."), error))
        return false;
    const bool whole = runColumns([this](quint64 column) {
        for (quint32 z = 0; z < height; ++z)
            if (cells[column + z].material == 0)
                cells[column + z].material = nextCells[column + z].material = material;
    });
    if (!whole && error)
        *error = QStringLiteral("The pouring was canceled.");
    return whole;
}

} // namespace Operations
} // namespace Core
