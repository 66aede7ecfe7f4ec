#ifndef CELVANE_CORE_OPERATIONS_GLUE_FILMEXTRACTION_H
#define CELVANE_CORE_OPERATIONS_GLUE_FILMEXTRACTION_H

#include "Model/Automaton/totalvolume.h"

#include <QString>

namespace Core {
namespace Operations {

/// Copies one connected film of a volume into a new volume of the same shape: the cells of one
/// material reached from the first cell of that material (in cell-index order) through face
/// neighbours. Other films of the same material stay behind. The film is optionally turned
/// upside down about the x axis, and always moved down to rest on the bottom layer. The source
/// volume is not changed.
class FilmExtraction
{
public:
    /// source is not owned.
    FilmExtraction(Model::Automaton::TotalVolume *source, quint32 filmMaterial, bool invert);

    /// The new volume, at the source's position with its counts and cell sizes (empty when the
    /// source holds no cell of the material); an empty pointer and the reason when there is no
    /// source or the new volume does not fit in memory. The source's cells are locked for the
    /// whole extraction.
    Model::Automaton::TotalVolume::Ptr run(QString *error = nullptr);
    /// The cells of the film the last run copied (0 when the source holds none of the material).
    quint64 getFilmCells() const { return filmCells; }

private:
    Model::Automaton::TotalVolume *source;
    quint32 filmMaterial;
    bool invert;
    quint64 filmCells;
};

} // namespace Operations
} // namespace Core

#endif
