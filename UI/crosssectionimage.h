#ifndef CELVANE_UI_CROSSSECTIONIMAGE_H
#define CELVANE_UI_CROSSSECTIONIMAGE_H

#include "Model/Automaton/totalvolume.h"

#include <QImage>
#include <QString>

namespace Ui {

/// A picture of one plane of a cell volume: each cell a square of pixels in its material's
/// colour (empty space white), the second axis pointing up, and to the right a legend of the
/// materials the plane holds. Planes across x show y and z, across y x and z, across z x and y.
class CrossSectionImage
{
public:
    /// Reads "AXIS:INDEX" (x, y or z, a cell layer counted from 0); axis is 0, 1 or 2.
    static bool parse(const QString &text, int *axis, quint32 *index, QString *reason);
    /// The picture, cellPixels pixels per cell; null with a reason when the plane is not in the
    /// volume or the picture would be too large.
    static QImage render(Model::Automaton::TotalVolume &volume, int axis, quint32 index,
                         int cellPixels, QString *reason);
    /// Renders and writes a PNG (complete or not at all).
    static bool save(Model::Automaton::TotalVolume &volume, int axis, quint32 index, int cellPixels,
                     const QString &fileName, QString *reason);
};

} // namespace Ui

#endif
