#ifndef CELVANE_MODEL_PERSISTENCE_VTIWRITER_H
#define CELVANE_MODEL_PERSISTENCE_VTIWRITER_H

#include "Model/Automaton/totalvolume.h"

#include <QString>

namespace Model {
namespace Persistence {

/// Writes a cell volume as VTK XML image data (.vti) that ParaView and VTK open as they are:
/// one cell per cell, cell data "material" (UInt32), origin at the volume's position, spacing
/// from its cell sizes, raw little-endian appended data. The file appears only when complete.
class VtiWriter
{
public:
    static bool write(Automaton::TotalVolume &volume, const QString &fileName, QString *error);
};

} // namespace Persistence
} // namespace Model

#endif
