#include "Model/Automaton/totalvolumepainter.h"

namespace Model {
namespace Automaton {

TotalVolumePainter::TotalVolumePainter(TotalVolume *volume) : volume(volume) {}

void TotalVolumePainter::refresh() {}

void TotalVolumePainter::recolor() {}

void TotalVolumePainter::draw(bool, bool) {}

void TotalVolumePainter::drawForPicking() {}

} // namespace Automaton
} // namespace Model
